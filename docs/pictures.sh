#!/bin/sh
# Renders the README's pictures from docs/pictures.input into OUT:
#   sh docs/pictures.sh REPLAY DATA OUT
# `make pictures` writes them into docs/; the pictures test writes them into
# a scratch folder and compares them with the committed ones, so this file
# is the one place that says which frame is which picture.
set -eu
replay=$1 data=$2 out=$3
here=$(cd "$(dirname "$0")" && pwd)

# name=frame, at 60 frames a second
pictures="fight=299 strip-1-title=89 strip-2-intro=160 strip-3-blow=716 strip-4-knock-out=870 strip-5-winner=915"
# the exchange after the first meeting, every second frame
exchange=280-410

frames=$(for p in $pictures; do printf '%s,' "${p#*=}"; done)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$out"
"$replay" --data "$data" --frames 1000 --input "$here/pictures.input" --scale 2 \
    --png "$scratch" --at "${frames%,}" --apng "$exchange" "$out/exchange.png"
for p in $pictures; do
    mv "$scratch/$(printf 'frame-%05d.png' "${p#*=}")" "$out/${p%=*}.png"
done
