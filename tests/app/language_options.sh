#!/usr/bin/env bash
# --lang and DPX_LANG: unknown names are refused with the languages there are (the option
# with status 2), and the help speaks the language chosen.
set -euo pipefail
dpx=$1 work=$2
rm -rf "$work"; mkdir -p "$work"
export XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen
fail() { echo "language_options: $*"; exit 1; }

for bad in fr "" en_GB; do
  status=0
  "$dpx" --lang "$bad" --version >"$work/out" 2>"$work/err" || status=$?
  [[ $status -eq 2 ]] || fail "--lang '$bad' ended with $status, not 2"
  grep -q 'zh_TW' "$work/err" && grep -q 'en (English)' "$work/err" || fail "--lang '$bad' did not list the languages"
done

DPX_LANG=klingon "$dpx" --version >"$work/out" 2>"$work/err" || fail "an unknown DPX_LANG stopped the start"
grep -q 'DPX_LANG' "$work/err" && grep -q 'en (English)' "$work/err" || fail "an unknown DPX_LANG was not refused"

"$dpx" --lang en --help >"$work/help-en"
grep -q 'Show this help and exit.' "$work/help-en" || fail "--lang en --help is not in English"
grep -q '^Usage: dpx ' "$work/help-en" || fail "--lang en --help does not name the program"
DPX_LANG=en "$dpx" --help | grep -q 'Show this help and exit.' || fail "DPX_LANG=en --help is not in English"
"$dpx" --help | grep -q '顯示這份說明後結束。' || fail "the default help is not in Traditional Chinese"
LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 "$dpx" --help | grep -q '顯示這份說明後結束。' \
  || fail "the system's locale changed the language"
# A job speaks the language chosen too.
echo "mp3" > "$work/tune.mp3"
"$dpx" --lang en --data-dir "$work/data" --sim-eeprom "$work/box.img" --load-ring 1="$work/tune.mp3" \
  >"$work/job" 2>&1 || true
grep -q 'This file format is not supported!' "$work/job" || { cat "$work/job"; fail "the job did not speak English"; }
echo "language_options: ok"
