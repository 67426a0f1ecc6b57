#!/bin/sh
# The Windows replay tool must draw every frame as the Linux one does, to
# the bit: the recorded runs frame by frame against their recorded hashes,
# and random play from two seeds against the Linux tool's own frames.
#   hashes.sh WINE_SH PREFIX REPLAY_EXE LINUX_REPLAY DATA SOURCE_DIR
set -eu
wine_sh=$1 prefix=$2 replay=$3 linux_replay=$4 data=$5 source=$6
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
status=0

windows() {
    sh "$wine_sh" "$prefix" "$replay" --data "Z:$data" --frames 3000 --hash "$@" | tr -d '\r'
}

# compare NAME WANT GOT
compare() {
    if cmp -s "$2" "$3"; then
        echo "$1: all $(wc -l < "$2") frames the same"
    else
        first=$(diff "$2" "$3" | sed -n 's/^\([0-9]*\)[cda].*/\1/p' | head -n 1)
        echo "$1: frame ${first:-?} differs (of $(wc -l < "$3") drawn on Windows)" >&2
        status=1
    fi
}

for run in "bench/match.input bench-match.hashes" "tests/tools/matches/modes.input modes.hashes"; do
    set -- $run
    windows --input "Z:$source/$1" > "$out/$2"
    compare "$1" "$source/tests/tools/matches/$2" "$out/$2"
done
for seed in 11 12; do
    "$linux_replay" --data "$data" --frames 3000 --hash --random $seed > "$out/linux-$seed"
    windows --random $seed > "$out/windows-$seed"
    compare "random play from seed $seed" "$out/linux-$seed" "$out/windows-$seed"
done
exit $status
