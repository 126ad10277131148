#!/usr/bin/env bash
# A second start with the same data folder hands its tel: link to the first and ends; the
# first dials it (the telephone echoes the digits) and only then ends with status 0.
set -euo pipefail
dpx=$1 work=$2
rm -rf "$work"; mkdir -p "$work"
cat > "$work/first.dpxs" <<SCRIPT
screenshot $work/ready.png        # the first instance is up and listening
wait 2000                         # line code 0, a pause, then 1, 2 and 3
expect lcd2 "0123            "
quit
SCRIPT
QT_QPA_PLATFORM=offscreen "$dpx" --simulate --data-dir "$work/data" --sim-script "$work/first.dpxs" &
first=$!
for _ in $(seq 200); do
  [[ -f "$work/ready.png" ]] && break
  sleep 0.05
done
[[ -f "$work/ready.png" ]] || { echo "the first instance did not come up"; kill "$first"; exit 1; }
start=$(date +%s%N)
second=0
QT_QPA_PLATFORM=offscreen timeout 10 "$dpx" --simulate --data-dir "$work/data" tel:123 || second=$?
took=$(( ($(date +%s%N) - start) / 1000000 ))
firstStatus=0
wait "$first" || firstStatus=$?
echo "second start ended with $second after ${took} ms; the first ended with $firstStatus"
[[ $second -eq 0 && $took -lt 5000 && $firstStatus -eq 0 ]]
