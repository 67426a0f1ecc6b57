#!/bin/sh
# A blow heard through SDL's disk driver: the real game under Xvfb with a
# copy of its data in which every effect but the hit is silence and there
# is no music. Until a blow lands the output is silent. Both fighters
# answer the keyboard; player 2 is kept flinching, so player 1's first
# blow lands and the game plays the hit.
set -eu
. "$(dirname "$0")/lib/game.sh"

cp -r "$TESSALINE_DATA_DIR" "$out/data"
rm -f "$out/data/sound.mid"
for effect in KO Jump Attack Sousatu; do
    sox -n -r 22050 -b 8 -c 1 "$out/data/$effect.wav" trim 0 0.2
done

start_display
start_game "$out/data"
hold_until Return '.scene == 2'
wait_for '.intro.introState >= 4'
before=$(stat -c %s "$out/audio.raw")
# Player 2 flinching (C held) cannot swing, so player 1's blow lands.
xdotool keydown c
hold_until x 'played("Attack.wav")'
wait_for 'played("Hit.wav")'
xdotool keyup c
# Half a second of frames after the hit, for the mixer to play it out.
wait_frames 30
quit_game

head -c "$before" "$out/audio.raw" >"$out/quiet.raw"
tail -c +"$((before + 1))" "$out/audio.raw" >"$out/blow.raw"
quiet=$(rms "$out/quiet.raw")
blow=$(rms "$out/blow.raw")
echo "RMS before X: $quiet, after: $blow"
awk -v r="$quiet" 'BEGIN { exit !(r < 0.002) }' || fail "sound before the blow (RMS $quiet)"
awk -v r="$blow" 'BEGIN { exit !(r > 0.01) }' || fail "no hit sound (RMS $blow)"
echo "ok"
