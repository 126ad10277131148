#!/usr/bin/env bash
# The EEPROM jobs on the command line against --sim-eeprom images: exit codes, a backup and
# restore round trip, and a job handed to a running DPX that streams its progress back.
set -uo pipefail
dpx=$1 work=$2
rm -rf "$work"; mkdir -p "$work"; cd "$work"
export QT_QPA_PLATFORM=offscreen
fail() { echo "FAIL: $*"; exit 1; }
expect() { # expect CODE command...
    local want=$1; shift
    "$@" > out.txt 2>&1; local got=$?
    [[ $got -eq $want ]] || { cat out.txt; fail "$* ended with $got, not $want"; }
}

# Bad arguments are 2; a job that cannot be done is 1.
expect 2 "$dpx" --data-dir data --sim-eeprom a.img --load-ring 6=x.raw
expect 2 "$dpx" --data-dir data --sim-eeprom a.img --load-ring x.raw
expect 2 "$dpx" --data-dir data --sim-eeprom a.img --factory-default --eeprom-backup b.img
head -c 1000 /dev/zero > short.img
expect 1 "$dpx" --data-dir data --sim-eeprom short.img --eeprom-backup b.img
grep -q "not an EEPROM image" out.txt || fail "a wrong-size image is not refused"
echo "mp3" > song.mp3
expect 1 "$dpx" --data-dir data --sim-eeprom a.img --load-ring 1=song.mp3
grep -q "程式不支持這種格式!" out.txt || fail "an mp3 is not refused"

# A new image is a box from the shop; a ring loaded, backed up, restored into another box.
head -c 5000 /dev/urandom > tune.raw
expect 0 "$dpx" --data-dir data --sim-eeprom a.img --load-ring 3=tune.raw
grep -q "tune.raw;傳輸:100%" out.txt || fail "no progress on the command line"
expect 0 "$dpx" --data-dir data --sim-eeprom a.img --eeprom-backup b.img
cmp -s a.img b.img || fail "the backup differs from the box"
cmp -s <(tail -c +$((30 * 65536 + 1)) b.img | head -c 5000) tune.raw || fail "the ring is not in slot 3"
expect 0 "$dpx" --data-dir data --sim-eeprom c.img --factory-default --no-verify
expect 0 "$dpx" --data-dir data --sim-eeprom c.img --eeprom-restore b.img
cmp -s <(tail -c +65537 b.img) <(tail -c +65537 c.img) || fail "the restore did not bring the image back"

# A job recorded with --trace-hid replays against its trace; another file is a difference.
expect 0 "$dpx" --data-dir data --sim-eeprom c.img --load-ring 2=tune.raw --trace-hid load.trace
expect 0 "$dpx" --data-dir data --replay-hid load.trace --load-ring 2=tune.raw
head -c 5000 /dev/urandom > other.raw
expect 1 "$dpx" --data-dir data --replay-hid load.trace --load-ring 2=other.raw
grep -q "dpx: replay line" out.txt || fail "the replay does not name the differing line"

# A running DPX takes the job over and streams progress and the result back.
printf 'wait 6000\nquit\n' > hold.dpxs
"$dpx" --data-dir run --sim-eeprom r.img --sim-script hold.dpxs &
first=$!
sleep 1.5
expect 0 "$dpx" --data-dir run --load-ring 0=tune.raw
grep -q "tune.raw;傳輸:100%" out.txt || { cat out.txt; fail "no progress streamed back"; }
expect 1 "$dpx" --data-dir run --load-ring 0=song.mp3
expect 1 "$dpx" --data-dir run --load-ring 0=tune.raw --trace-hid run.trace
grep -q "owns the box" out.txt || fail "a job to trace was handed to the running DPX"
wait "$first"
cmp -s <(tail -c +$((2 * 65536 + 1)) r.img | head -c 5000) tune.raw || fail "the running DPX did not load the ring"
echo "eeprom jobs: all good"
