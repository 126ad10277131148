#!/usr/bin/env bash
# dpx --convert on the command line: exit codes, the byte count on standard output, nothing
# written on failure, and the job handed to a running DPX.
set -uo pipefail
dpx=$1 work=$2
rm -rf "$work"; mkdir -p "$work"; cd "$work"
export QT_QPA_PLATFORM=offscreen
fail() { echo "FAIL: $*"; exit 1; }
expect() { # expect CODE command...
    local want=$1; shift
    "$@" > out.txt 2> err.txt; local got=$?
    [[ $got -eq $want ]] || { cat out.txt err.txt; fail "$* ended with $got, not $want"; }
}
command -v sox > /dev/null || { echo "sox is missing (tools/bootstrap installs it): skipped"; exit 0; }
sox -n -r 44100 -c 2 song.wav synth 20 sine 440 vol 0.5 2> /dev/null || fail "sox cannot make a WAV"

# Bad arguments are 2.
expect 2 "$dpx" --data-dir data --convert song.wav
expect 2 "$dpx" --data-dir data --convert song.wav out.raw --length 37
expect 2 "$dpx" --data-dir data --convert song.wav out.raw --length 0
expect 2 "$dpx" --data-dir data --convert song.wav out.raw --length ten
expect 2 "$dpx" --data-dir data --convert song.wav out.raw --start 1:60
expect 2 "$dpx" --data-dir data --convert song.wav out.raw --start x
expect 2 "$dpx" --data-dir data --convert song.wav out.raw extra
expect 2 "$dpx" --data-dir data --convert song.wav out.raw --eeprom-backup b.img
expect 2 "$dpx" --data-dir data --start 0:05
[[ -e out.raw ]] && fail "bad arguments wrote a file"

# Done: the byte count on standard output.
expect 0 "$dpx" --data-dir data --convert song.wav out.raw --start 0:05 --length 10
[[ "$(cat out.txt)" == 160000 ]] || fail "printed '$(cat out.txt)', not 160000"
[[ $(stat -c %s out.raw) -eq 160000 ]] || fail "out.raw is not 160000 bytes"
expect 0 "$dpx" --data-dir data --convert song.wav whole.raw
[[ "$(cat out.txt)" == 320000 ]] || fail "the whole 20 s file is not 320000 bytes"

# Failed: a message, nothing written, an old target intact.
head -c 3000 /dev/urandom > noise.mp3
echo old > kept.raw
expect 1 "$dpx" --data-dir data --convert noise.mp3 kept.raw
grep -q "音檔轉換失敗!" err.txt || fail "no failure message"
[[ "$(cat kept.raw)" == old ]] || fail "a failed conversion touched the target"
expect 1 "$dpx" --data-dir data --convert song.wav late.raw --start 0:25
[[ -e late.raw ]] && fail "a start after the end wrote a file"
compgen -G '*.raw.*' > /dev/null && fail "a temporary was left"

# A running DPX takes the job over and sends the result back.
printf 'wait 6000\nquit\n' > hold.dpxs
"$dpx" --data-dir run --sim-script hold.dpxs &
first=$!
sleep 1.5
expect 0 "$dpx" --data-dir run --convert song.wav handed.raw --start 0:01 --length 2.5
[[ "$(cat out.txt)" == 40000 ]] || fail "the running DPX printed '$(cat out.txt)'"
expect 1 "$dpx" --data-dir run --convert noise.mp3 handed2.raw
wait "$first"
[[ $(stat -c %s handed.raw) -eq 40000 ]] || fail "the running DPX did not write handed.raw"
[[ -e handed2.raw ]] && fail "the running DPX wrote a failed conversion"
echo "convert job: all good"
