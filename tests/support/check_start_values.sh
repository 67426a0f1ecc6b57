#!/bin/sh
# Every value the game can change must be one the tests put back before
# each test: each writable object in the game's library is to be kept by
# support/start_values.cpp. A value kept inside a function or an unnamed
# namespace cannot be, and is reported all the same.
# Usage: check_start_values.sh LIBRARY start_values.cpp
set -eu
library=$1
kept=$2
# The unwinder's and AddressSanitizer's own objects aside.
objects=$(objdump -t "$library" |
    awk '$3 == "O" && $4 ~ /^\.(bss|data)/ && $4 !~ /rel\.ro/ && $NF !~ /^(DW\.ref\.|__odr_asan)/ { print $NF }' | sort -u)
[ -n "$objects" ] || { echo "no writable objects found in $library"; exit 1; }
missing=0
for name in $objects; do
    if ! grep -qF "Keep($name)" "$kept"; then
        echo "not put back before each test: $(echo "$name" | c++filt)"
        missing=1
    fi
done
exit $missing
