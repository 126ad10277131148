#!/usr/bin/env bash
# Contact import and vCard export on the command line: exit codes, summaries on standard
# output, duplicates skipped on a second run, export read back to the same cards, and a job
# handed to a running DPX.
set -uo pipefail
dpx=$1 work=$2
rm -rf "$work"; mkdir -p "$work"; cd "$work"
export QT_QPA_PLATFORM=offscreen
fail() { echo "FAIL: $*"; exit 1; }
expect() { # expect CODE command... (standard output in out.txt, standard error in err.txt)
    local want=$1; shift
    "$@" > out.txt 2> err.txt; local got=$?
    [[ $got -eq $want ]] || { cat out.txt err.txt; fail "$* ended with $got, not $want"; }
}

printf 'BEGIN:VCARD\r\nVERSION:2.1\r\nN:Doe;John\r\nFN:John Doe\r\nTEL;CELL:0911\r\nTEL;PAGER:1\r\nEND:VCARD\r\n' > a.vcf
printf 'BEGIN:VCARD\r\nFN broken\r\nEND:VCARD\r\n' >> a.vcf
printf '\xef\xbb\xbf"First Name","Last Name","Mobile Phone","Birthday"\r\n"Ann","Lee","0922","7/4/1980"\r\n' > b.csv
printf '"First Name","Last Name","Notes"\r\n"Jos\xe9","M\xfcller","caf\xe9"\r\n' > c.csv

expect 2 "$dpx" --data-dir d --import
expect 2 "$dpx" --data-dir d --export-vcard
expect 2 "$dpx" --data-dir d --import a.vcf --export-vcard x.vcf
expect 1 "$dpx" --data-dir d --import missing.vcf
expect 0 "$dpx" --data-dir d --import a.vcf b.csv c.csv
grep -q "a.vcf: 匯入完成:新增 1 位連絡人,略過重複 0 位,無法讀取 1 筆。" out.txt || { cat out.txt; fail "no summary for a.vcf"; }
grep -q "b.csv: 匯入完成:新增 1 位連絡人" out.txt || fail "no summary for b.csv"
grep -q "第 9 行" err.txt || { cat err.txt; fail "the failed card is not named with its line"; }
expect 0 "$dpx" --data-dir d --import a.vcf b.csv c.csv
grep -q "a.vcf: 匯入完成:新增 0 位連絡人,略過重複 1 位" out.txt || fail "a second import added contacts"

expect 0 "$dpx" --data-dir d --export-vcard one.vcf
grep -q "已匯出 3 位連絡人" out.txt || { cat out.txt; fail "no export count"; }
grep -q "BDAY:1980-07-04" one.vcf || fail "the birthday is not exported as a date"
expect 0 "$dpx" --data-dir e --import one.vcf
expect 0 "$dpx" --data-dir e --export-vcard two.vcf
cmp -s one.vcf two.vcf || { diff one.vcf two.vcf; fail "export, import and export again differ"; }

# A running DPX takes the import over and sends the summary back.
printf 'wait 5000\nquit\n' > hold.dpxs
"$dpx" --data-dir run --simulate --sim-script hold.dpxs &
first=$!
sleep 1.5
expect 0 "$dpx" --data-dir run --import b.csv
grep -q "b.csv: 匯入完成:新增 1 位連絡人" out.txt || { cat out.txt err.txt; fail "no summary from the running DPX"; }
wait "$first"
expect 0 "$dpx" --data-dir run --export-vcard run.vcf
grep -q "FN:Ann Lee" run.vcf || fail "the running DPX did not store the contact"
echo "contact jobs: all good"
