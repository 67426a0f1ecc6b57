#!/bin/sh
# The real game in a real window under Xvfb, driven by xdotool: the window
# at 100, 100 with a 320 x 240 client area, the title, Enter into the fight
# with its intro banner, status strip and health bars, the arrow keys and
# X, F5 to full screen and back, and Esc ending the program with status 0.
# Sound goes to SDL's disk driver, and the music must not be silent.
set -eu
. "$(dirname "$0")/lib/game.sh"

start_display 91
start_game "$TESSALINE_DATA_DIR"
sleep 1.5

pixel() { convert "$1" -format "%[hex:p{$2,$3}]" info: | cut -c1-6; }
shot() { import -window root "$out/$1.png"; }
# Colours told apart by red against blue, from a pixel's hex RRGGBB.
red() { echo $((0x$(echo "$1" | cut -c1-2))); }
blue() { echo $((0x$(echo "$1" | cut -c5-6))); }
gold() { [ "$(red "$1")" -gt $(($(blue "$1") + 60)) ]; }
bluish() { [ "$(blue "$1")" -gt $(($(red "$1") + 10)) ]; }

geometry=$(xdotool getwindowgeometry "$wid")
echo "$geometry" | grep -q "Position: 100,100" || fail "window not at 100,100: $geometry"
echo "$geometry" | grep -q "Geometry: 320x240" || fail "client area not 320x240: $geometry"

shot title
[ "$(pixel "$out/title.png" 99 99)" = "000000" ] || fail "something drawn outside the window"
[ "$(pixel "$out/title.png" 420 340)" = "000000" ] || fail "something drawn outside the window"
# The title picture's night sky covers the grey stage at 224 of 256.
sky=$(pixel "$out/title.png" 105 105)
bluish "$sky" || fail "the title is not shown ($sky)"

# Enter: the title fades for 38 frames, then the intro's first banner.
press Return
sleep 1.2
shot intro
# A slow build (the sanitizer's) may still be fading the title.
i=0
while [ "$(pixel "$out/intro.png" 110 118)" != "0000D8" ] && [ $i -lt 40 ]; do
    sleep 0.25; shot intro; i=$((i + 1))
done
# The health bars are drawn last and opaque: 90 pixels of blue at (10, 14) and (170, 14).
for x in 110 150 199 270 310 359; do
    [ "$(pixel "$out/intro.png" "$x" 118)" = "0000D8" ] || fail "no health bar at $x"
done
[ "$(pixel "$out/intro.png" 200 118)" != "0000D8" ] || fail "health bar too long"
# The status strip: its dark blue-grey background, and the emblem's gold ring
# at (114 + 15, 2), both blended over the picture.
strip=$(pixel "$out/intro.png" 100 110)
bluish "$strip" || fail "no status strip ($strip)"
gold "$(pixel "$out/intro.png" 229 102)" || fail "no emblem in the status strip"
cmp -s "$out/title.png" "$out/intro.png" && fail "the fight did not start"

# Arrows walk, X attacks.
xdotool keydown --window "$wid" Right
sleep 0.6
xdotool keyup --window "$wid" Right
shot walked
press x
sleep 0.3
shot attack
cmp -s "$out/intro.png" "$out/walked.png" && fail "nothing moved"

# F5: the picture fills the 640 x 480 screen at twice its size; F5 again:
# back in the window at 100, 100.
press F5
sleep 1
shot full
xdotool getwindowgeometry "$wid" | grep -q "Geometry: 640x480" || fail "full screen does not cover the screen"
bluish "$(pixel "$out/full.png" 200 30)" || fail "no status strip at twice its size"
[ "$(pixel "$out/full.png" 630 470)" != "000000" ] || fail "the picture does not reach the corner"
press F5
sleep 1
geometry=$(xdotool getwindowgeometry "$wid")
echo "$geometry" | grep -q "Position: 100,100" || fail "not back at 100,100: $geometry"
echo "$geometry" | grep -q "Geometry: 320x240" || fail "not back to 320x240: $geometry"

quit_game
grep -q '^\[' "$out/game.log" && fail "message boxes: $(cat "$out/game.log")"

# The music was playing: the mixed output is not silent.
[ -s "$out/audio.raw" ] || fail "no audio written"
rms=$(rms "$out/audio.raw")
echo "audio RMS amplitude: $rms"
awk -v r="$rms" 'BEGIN { exit !(r > 0.01) }' || fail "the music is silent (RMS $rms)"
echo "ok"
