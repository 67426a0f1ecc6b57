#!/bin/sh
# The Windows replay tool must draw every frame of the recorded runs to
# the bit, as the Linux one does: the same hashes, frame by frame.
#   hashes.sh WINE_SH PREFIX REPLAY_EXE DATA SOURCE_DIR
set -eu
wine_sh=$1 prefix=$2 replay=$3 data=$4 source=$5
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
status=0
for run in "bench/match.input bench-match.hashes" "tests/tools/matches/modes.input modes.hashes"; do
    set -- $run
    sh "$wine_sh" "$prefix" "$replay" --data "$data" --frames 3000 --hash --input "Z:$source/$1" |
        tr -d '\r' > "$out/$2"
    want="$source/tests/tools/matches/$2"
    if cmp -s "$want" "$out/$2"; then
        echo "$1: all $(wc -l < "$want") frames as recorded"
    else
        first=$(diff "$want" "$out/$2" | sed -n 's/^\([0-9]*\)[cda].*/\1/p' | head -n 1)
        echo "$1: frame ${first:-?} differs from the recorded picture (of $(wc -l < "$out/$2") drawn)" >&2
        status=1
    fi
done
exit $status
