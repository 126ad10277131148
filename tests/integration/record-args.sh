#!/bin/sh
# A program for call-action tests: appends its arguments after the first, each in brackets,
# as one line to the file named by the first.
out=$1
shift
for a in "$@"; do printf '[%s]' "$a"; done >>"$out"
echo >>"$out"
