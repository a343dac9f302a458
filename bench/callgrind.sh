#!/usr/bin/env bash
# Instructions per call of each plug-in callback, counted by callgrind (repeatable, unlike time).
#   bench/callgrind.sh [build dir, default build]
set -euo pipefail
build=${1:-build}
n=10000
printf '%-10s %12s\n' callback 'instr/call'
for what in draw vrdraw move parked turn vertical passed command camera centred stick stickparked; do
    out=$(valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file=/dev/null \
        "$build/bench/trovik_callcount" "$what" "$n" 2>&1)
    total=$(sed -n 's/.*Collected : \([0-9]*\).*/\1/p' <<<"$out")
    [ -n "$total" ] || { echo "no count for $what" >&2; exit 1; }
    printf '%-10s %12d\n' "$what" $(( total / n ))
done
