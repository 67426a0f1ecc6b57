#!/bin/sh
# A blow heard through SDL's disk driver: the real game under Xvfb with a
# copy of its data in which every effect but the hit is silence and there
# is no music. Until X the output is silent. Both fighters answer the
# keyboard, so their first blows meet blade on blade; the second blow of the
# combo lands and adds the hit sound, so X goes down six times in a row.
set -eu
. "$(dirname "$0")/lib/game.sh"

cp -r "$TESSALINE_DATA_DIR" "$out/data"
rm -f "$out/data/sound.mid"
for effect in KO Jump Attack Sousatu; do
    sox -n -r 22050 -b 8 -c 1 "$out/data/$effect.wav" trim 0 0.2
done

start_display 131
start_game "$out/data"
sleep 1
press Return
sleep 2
before=$(stat -c %s "$out/audio.raw")
for blow in 1 2 3 4 5 6; do press x; sleep 0.07; done
sleep 1.5
quit_game

head -c "$before" "$out/audio.raw" >"$out/quiet.raw"
tail -c +"$((before + 1))" "$out/audio.raw" >"$out/blow.raw"
quiet=$(rms "$out/quiet.raw")
blow=$(rms "$out/blow.raw")
echo "RMS before X: $quiet, after: $blow"
awk -v r="$quiet" 'BEGIN { exit !(r < 0.002) }' || fail "sound before the blow (RMS $quiet)"
awk -v r="$blow" 'BEGIN { exit !(r > 0.01) }' || fail "no hit sound (RMS $blow)"
echo "ok"
