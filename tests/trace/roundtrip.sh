#!/usr/bin/env bash
# Usage: roundtrip.sh DPX SCRIPT WORKDIR
# Records SCRIPT on the simulated box, replays the trace (no difference), then replays a copy
# whose first written report has one byte changed: the replay fails and names that line.
set -euo pipefail
dpx=$1 script=$2 work=$3
rm -rf "$work" && mkdir -p "$work" && cd "$work"

"$dpx" --data-dir rec --sim-script "$script" --trace-hid call.trace 2>/dev/null
grep -q ' out ' call.trace || { echo "the recording holds no written report"; exit 1; }
"$dpx" --data-dir same --sim-script "$script" --replay-hid call.trace 2>same.err \
  || { echo "the unchanged trace did not replay:"; grep -v plugin same.err; exit 1; }

line=$(grep -n ' out ' call.trace | head -1 | cut -d: -f1)
# The fifth byte of that report becomes its complement.
original=$(sed -n "${line}p" call.trace)
read -r time kind hex <<<"$original"
flipped=$(printf '%02x' $((255 - 16#${hex:8:2})))
sed "${line}s/.*/$time $kind ${hex:0:8}$flipped${hex:10}/" call.trace > changed.trace
cmp -s call.trace changed.trace && { echo "the byte was not changed"; exit 1; }

if "$dpx" --data-dir changed --sim-script "$script" --replay-hid changed.trace 2>changed.err; then
  echo "the changed trace replayed without a difference"; exit 1
fi
grep -q "replay line $line: the trace has out" changed.err \
  || { echo "the difference was not named at line $line:"; grep -v plugin changed.err; exit 1; }
echo "round trip ok; the changed byte was found at line $line"
