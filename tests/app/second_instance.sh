#!/usr/bin/env bash
# A second start with the same data folder hands over and ends; the first keeps running.
set -euo pipefail
dpx=$1 work=$2
rm -rf "$work"; mkdir -p "$work"
printf 'wait 4000\nquit\n' > "$work/hold.dpxs"
QT_QPA_PLATFORM=offscreen "$dpx" --simulate --data-dir "$work/data" --sim-script "$work/hold.dpxs" &
first=$!
sleep 1.5
start=$(date +%s%N)
QT_QPA_PLATFORM=offscreen timeout 10 "$dpx" --simulate --data-dir "$work/data" tel:123
second=$?
took=$(( ($(date +%s%N) - start) / 1000000 ))
kill -0 "$first"  # the first instance is still there
wait "$first"
echo "second start ended with $second after ${took} ms"
[[ $second -eq 0 && $took -lt 5000 ]]
