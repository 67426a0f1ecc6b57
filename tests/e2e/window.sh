#!/bin/sh
# The real game in a real window under Xvfb, driven by key presses from the
# X server as a player's: the window at 100, 100 with a 320 x 240 client
# area and the title; Alt with a function key does nothing; the keypad's
# Enter starts the fight, with its intro banner, status strip and health
# bars; without a gamepad, holding Left walks both fighters; X attacks; F5
# to full screen and back; Esc ends the program with status 0. Sound goes
# to SDL's disk driver, and the music must not be silent. Another window
# taking the focus stops the game until it is focused again.
set -eu
. "$(dirname "$0")/lib/game.sh"

start_display
start_game "$TESSALINE_DATA_DIR"
[ "$(now .appActive)" = 1 ] || fail "the window is not active once shown"

pixel() { convert "$1" -format "%[hex:p{$2,$3}]" info: | cut -c1-6; }
shot() { import -window root "$out/$1.png"; }
# Colours told apart by red against blue, from a pixel's hex RRGGBB.
red() { echo $((0x$(echo "$1" | cut -c1-2))); }
blue() { echo $((0x$(echo "$1" | cut -c5-6))); }
gold() { [ "$(red "$1")" -gt $(($(blue "$1") + 60)) ]; }
bluish() { [ "$(blue "$1")" -gt $(($(red "$1") + 10)) ]; }

geometry_becomes 100,100 320x240

# The title picture's night sky covers the grey stage at 224 of 256.
wait_for '.title.titleFade == 224'
shot title
[ "$(pixel "$out/title.png" 99 99)" = "000000" ] || fail "something drawn outside the window"
[ "$(pixel "$out/title.png" 420 340)" = "000000" ] || fail "something drawn outside the window"
sky=$(pixel "$out/title.png" 105 105)
bluish "$sky" || fail "the title is not shown ($sky)"

# A key pressed with Alt is the system's, not the game's: Alt+F1 leaves the
# draw mode and Alt+Esc leaves the game running; F1 alone then moves the
# draw mode on by one.
xdotool key alt+F1 alt+Escape
press F1
wait_for '.selectors.DrawMode != 0'
[ "$(now .selectors.DrawMode)" = 1 ] || fail "Alt+F1 changed the draw mode"
xdotool key F1 F1 F1
wait_for '.selectors.DrawMode == 0'

# The keypad's Enter is Enter: the title fades for 38 frames, then the intro.
hold_until KP_Enter '.title.startKeySeen == 1'
wait_for '.scene == 2'
wait_frames 2
shot intro
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

left_walks_both
[ "$(now .inputState.directions)" = 0 ] || fail "player 2's Left still held after the key went up"

# X attacks: both fighters swing the first blow (player 2 answers X too).
hold_until x '.fighters[0].currentMotion == 1 and .fighters[1].currentMotion == 1'

# F6 moves the camera through its five places and back to the first; F2
# the shading through its three.
xdotool key F6 F6 F6 F6
wait_for '.camera.cameraMode == 4'
press F6
wait_for '.camera.cameraMode == 0'
xdotool key F2 F2
wait_for '.selectors.ShadeMode == 0'
press F2
wait_for '.selectors.ShadeMode == 1'

# F5: the picture fills the 640 x 480 screen at twice its size; F5 again:
# back in the window at 100, 100.
press F5
wait_for '.displayMode == 2'
geometry_becomes 0,0 640x480
wait_frames 2
shot full
bluish "$(pixel "$out/full.png" 200 30)" || fail "no status strip at twice its size"
[ "$(pixel "$out/full.png" 630 470)" != "000000" ] || fail "the picture does not reach the corner"
press F5
wait_for '.displayMode == 1'
geometry_becomes 100,100 320x240

# Another window takes the focus: the game stops (its frames stop while the
# music, on the mixer's own thread, plays on). Focused again, it goes on,
# and player 2's keyboard, lost with the focus, answers again.
xclock -geometry 60x60+520+400 >/dev/null 2>&1 &
clock=$!
clockwid=$(timeout 20 xdotool search --sync --pid "$clock" | head -n 1) || fail "no clock window"
xdotool windowfocus --sync "$clockwid"
lines=$(wc -l <"$state")
audio=$(stat -c %s "$out/audio.raw")
wait_sound $((audio + 22050))  # half a second of sound
[ "$(wc -l <"$state")" -le $((lines + 2)) ] || fail "frames ran while another window had the focus"
xdotool windowfocus --sync "$wid"
kill "$clock"
wait_for '.appActive == 1'
x1=$(now '.fighters[0].root[0]')
x2=$(now '.fighters[1].root[0]')
hold_until Right ".fighters[0].root[0] > $x1 + 40 and .fighters[1].root[0] > $x2 + 40"

quit_game
grep -q '^\[' "$out/game.log" && fail "message boxes: $(cat "$out/game.log")"

# The music was playing: the mixed output is not silent.
[ -s "$out/audio.raw" ] || fail "no audio written"
rms=$(rms "$out/audio.raw")
echo "audio RMS amplitude: $rms"
awk -v r="$rms" 'BEGIN { exit !(r > 0.01) }' || fail "the music is silent (RMS $rms)"
echo "ok"
