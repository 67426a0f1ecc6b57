#!/bin/sh
# A blow heard through SDL's disk driver: the real game under Xvfb with a
# copy of its data in which every effect but the hit is silence and there
# is no music. Until X the output is silent. Both fighters answer the
# keyboard, so their first blows meet blade on blade; the second blow of the
# combo lands and adds the hit sound, so X goes down six times in a row.
set -eu
: "${TESSALINE_GAME:?}" "${TESSALINE_DATA_DIR:?}"

out=$(mktemp -d)
game=""
xvfb=""
cleanup() {
    [ -n "$game" ] && kill "$game" 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$out"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cp -r "$TESSALINE_DATA_DIR" "$out/data"
rm -f "$out/data/sound.mid"
for effect in KO Jump Attack Sousatu; do
    sox -n -r 22050 -b 8 -c 1 "$out/data/$effect.wav" trim 0 0.2
done

n=131
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 640x480x24 -br -nolisten tcp >"$out/xvfb.log" 2>&1 &
xvfb=$!
export DISPLAY=":$n"
i=0
until xdotool getmouselocation >/dev/null 2>&1; do
    i=$((i + 1)); [ $i -gt 100 ] && fail "Xvfb did not start"; sleep 0.1
done

cd "$out/data"
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$out/audio.raw" "$TESSALINE_GAME" >"$out/game.log" 2>&1 &
game=$!
wid=$(timeout 20 xdotool search --sync --name '^Tessaline$' | head -n 1) || fail "no window"
xdotool windowfocus --sync "$wid" 2>/dev/null || true
sleep 1
xdotool key --window "$wid" Return
sleep 2
before=$(stat -c %s "$out/audio.raw")
xdotool key --window "$wid" --delay 170 x x x x x x
sleep 1.5
xdotool key --window "$wid" Escape
status=0
wait "$game" || status=$?
game=""
[ "$status" -eq 0 ] || fail "exit status $status"

rms() { sox -t raw -r 22050 -e unsigned -b 8 -c 2 "$1" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}'; }
head -c "$before" "$out/audio.raw" >"$out/quiet.raw"
tail -c +"$((before + 1))" "$out/audio.raw" >"$out/blow.raw"
quiet=$(rms "$out/quiet.raw")
blow=$(rms "$out/blow.raw")
echo "RMS before X: $quiet, after: $blow"
awk -v r="$quiet" 'BEGIN { exit !(r < 0.002) }' || fail "sound before the blow (RMS $quiet)"
awk -v r="$blow" 'BEGIN { exit !(r > 0.01) }' || fail "no hit sound (RMS $blow)"
echo "ok"
