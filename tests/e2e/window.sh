#!/bin/sh
# The real game in a real window under Xvfb, driven by xdotool: the window
# at 100, 100 with a 320 x 240 client area, the title, Enter into the fight
# with its intro banner, status strip and health bars, the arrow keys and
# X, and Esc ending the program with status 0. Sound goes to SDL's disk
# driver, and the music must not be silent.
set -eu
: "${TESSALINE_GAME:?}" "${TESSALINE_DATA_DIR:?}"

out=$(mktemp -d)
game=""
xvfb=""
cleanup() {
    [ -n "$game" ] && kill "$game" 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    if [ -n "${KEEP_SHOTS:-}" ]; then echo "shots kept in $out"; else rm -rf "$out"; fi
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# A free display.
n=91
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 640x480x24 -br -nolisten tcp >"$out/xvfb.log" 2>&1 &
xvfb=$!
export DISPLAY=":$n"
i=0
until xdotool getmouselocation >/dev/null 2>&1; do
    i=$((i + 1)); [ $i -gt 100 ] && fail "Xvfb did not start"; sleep 0.1
done

cd "$TESSALINE_DATA_DIR"
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$out/audio.raw" "$TESSALINE_GAME" >"$out/game.log" 2>&1 &
game=$!

wid=$(timeout 20 xdotool search --sync --name '^Tessaline$' | head -n 1) || fail "no window"
xdotool windowfocus --sync "$wid" 2>/dev/null || true
sleep 1.5

pixel() { convert "$1" -format "%[hex:p{$2,$3}]" info: | cut -c1-6; }
shot() { import -window root "$out/$1.png"; }

geometry=$(xdotool getwindowgeometry "$wid")
echo "$geometry" | grep -q "Position: 100,100" || fail "window not at 100,100: $geometry"
echo "$geometry" | grep -q "Geometry: 320x240" || fail "client area not 320x240: $geometry"

shot title
[ "$(pixel "$out/title.png" 99 99)" = "000000" ] || fail "something drawn outside the window"
[ "$(pixel "$out/title.png" 420 340)" = "000000" ] || fail "something drawn outside the window"
[ "$(pixel "$out/title.png" 260 220)" != "000000" ] || fail "the title is not shown"

# Enter: the title fades for 38 frames, then the intro's first banner.
xdotool key --window "$wid" Return
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
cmp -s "$out/title.png" "$out/intro.png" && fail "the fight did not start"

# Arrows walk, X attacks.
xdotool keydown --window "$wid" Right
sleep 0.6
xdotool keyup --window "$wid" Right
shot walked
xdotool key --window "$wid" x
sleep 0.3
shot attack
cmp -s "$out/intro.png" "$out/walked.png" && fail "nothing moved"

xdotool key --window "$wid" Escape
status=0
wait "$game" || status=$?
game=""
[ "$status" -eq 0 ] || fail "exit status $status"
grep -q '^\[' "$out/game.log" && fail "message boxes: $(cat "$out/game.log")"

# The music was playing: the mixed output is not silent.
[ -s "$out/audio.raw" ] || fail "no audio written"
rms=$(sox -t raw -r 22050 -e unsigned -b 8 -c 2 "$out/audio.raw" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}')
echo "audio RMS amplitude: $rms"
awk -v r="$rms" 'BEGIN { exit !(r > 0.01) }' || fail "the music is silent (RMS $rms)"
echo "ok"
