#!/usr/bin/env bash
# DPX as a process: without any session bus it runs a script as before and says nothing about
# the bus; on a session bus of its own, gdbus finds the interface, reads the display and Dial
# answers (accepted, and refused with its error name).
set -u
dpx=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
export QT_QPA_PLATFORM=offscreen
fail() { echo "FAIL: $*" >&2; exit 1; }

cat >"$work/ring.dpxs" <<'SCRIPT'
set-action ring url "https://crm.example.com/search?phone={digits}&who={name}"
ring co 0223456789
expect action-count 1
hangup
quit
SCRIPT
DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus" DPX_ACTION_RECORD="$work/record" \
  "$dpx" --simulate --data-dir "$work/data1" --sim-script "$work/ring.dpxs" >"$work/out1" 2>"$work/err1" \
  || { cat "$work/err1" >&2; fail "DPX without a session bus did not play its script"; }
grep -iE 'dbus|d-bus|session bus' "$work/err1" && fail "DPX spoke of the missing bus"
grep -qF '{"kind":"url","url":"https://crm.example.com/search?phone=0223456789&who=","when":"ring"}' \
  "$work/record" || { cat "$work/record" >&2; fail "the ring action was not recorded"; }

if ! command -v dbus-daemon >/dev/null || ! command -v gdbus >/dev/null; then
  echo "SKIP: no dbus-daemon or gdbus: the bus half of this test did not run"
  exit 0
fi
info=$(dbus-daemon --session --fork --address="unix:path=$work/bus" --print-address=1 --print-pid=1) \
  || fail "no private bus"
export DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$info")
bus_pid=$(sed -n 2p <<<"$info")
trap 'kill $bus_pid 2>/dev/null' EXIT

printf 'display 2 "HELLO"\nwait 15000\nquit\n' >"$work/idle.dpxs"
"$dpx" --simulate --data-dir "$work/data2" --sim-script "$work/idle.dpxs" >"$work/out2" 2>"$work/err2" &
dpx_pid=$!
for _ in $(seq 100); do
  gdbus introspect --session --dest org.dpx.DPX.Phone --object-path /Phone >"$work/introspect" 2>/dev/null && break
  sleep 0.1
done
grep -q 'interface org.dpx.DPX.Phone' "$work/introspect" || fail "org.dpx.DPX.Phone is not on the bus"
for member in 'Dial(' 'IncomingCall(' 'CallEnded(' 'BoxPresent' 'DisplayLine2'; do
  grep -qF "$member" "$work/introspect" || fail "the interface has no $member"
done
for _ in $(seq 50); do
  line2=$(gdbus call --session --dest org.dpx.DPX.Phone --object-path /Phone \
    --method org.freedesktop.DBus.Properties.Get org.dpx.DPX.Phone DisplayLine2)
  [[ "$line2" == "(<'HELLO           '>,)" ]] && break
  sleep 0.1
done
[[ "$line2" == "(<'HELLO           '>,)" ]] || fail "DisplayLine2 is $line2"
gdbus call --session --dest org.dpx.DPX.Phone --object-path /Phone --method org.dpx.DPX.Phone.Dial '+886 2' \
  >/dev/null 2>"$work/refused" && fail "a + number was accepted"
grep -q 'org.dpx.DPX.Phone.Error.InvalidNumber' "$work/refused" || fail "refused without the error name"
gdbus call --session --dest org.dpx.DPX.Phone --object-path /Phone --method org.dpx.DPX.Phone.Dial 'tel:123' \
  || fail "Dial was refused"
kill "$dpx_pid" 2>/dev/null
wait "$dpx_pid" 2>/dev/null
echo "PASS"
