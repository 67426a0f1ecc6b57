#!/bin/sh
# The Windows game under Wine, in a window of its own Xvfb:
#   game.sh WINE_SH PREFIX TESSALINE.EXE DATA NATIVE_REPLAY
# The window's client area is 320 x 240 at 100, 100; the title fades in
# and, held still, is the native replay tool's frame to the pixel; Enter
# starts the fight; without a joystick player 2 reads the same keyboard
# through DirectInput, so holding Left walks both fighters; F1 changes the
# draw mode; X plays the attack's effect on DirectSound; Esc ends the game
# with status 0 and no message box. With KO.wav missing the game shows its
# message box, and goes on once it is answered; F5 shows the full screen's
# box (Xvfb has no such mode) and F5 again brings the window back. Alone
# in a folder, started with no console, the game tells in a box that it
# found no data. The waits are those of the
# Linux window tests (tests/e2e/lib/game.sh), on the game's state report.
set -eu
wine_sh=$1 prefix=$2 exe=$3
export TESSALINE_DATA_DIR=$4 TESSALINE_REPLAY=$5
TESSALINE_GAME=unset
. "$(dirname "$0")/../e2e/lib/game.sh"

# A copy of the prefix for this run, with a Wine server of its own on this
# run's display: the shared one was started with no display at all. Files
# are hard links; Wine writes its registry anew rather than in place.
cp -al "$prefix" "$out/wine"
for reg in "$out/wine"/*.reg; do cp --remove-destination "$prefix/$(basename "$reg")" "$reg"; done
stop_wine() { WINEPREFIX="$out/wine" /usr/lib/wine/wineserver -k 2>/dev/null || true; }
trap 'stop_wine; cleanup' EXIT

# No sound card here: ALSA's null device stands in, so DirectSound opens
# and plays into nothing, and the state report tells what was played.
printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$out/asound.conf"
export ALSA_CONFIG_PATH="$out/asound.conf"

# Answers the message box with caption $1 once it is on the screen: a box
# is modal, and the game's frames wait for it.
answer_box() {
    box=""
    i=0
    until [ -n "$box" ]; do
        kill -0 "$game" 2>/dev/null || fail "the game ended before its $1 box"
        i=$((i + 1)); [ $i -gt 1200 ] && fail "no $1 box"
        sleep 0.05
        box=$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1 || true)
    done
    xdotool key --window "$box" Return
}

TESSALINE_GAME="$out/tessaline"
printf '#!/bin/sh\nexec sh "%s" "%s" "%s" "$@"\n' "$wine_sh" "$out/wine" "$exe" >"$TESSALINE_GAME"
chmod +x "$TESSALINE_GAME"

start_display

# The window, the title, and the picture to the pixel. Wine's MCI log
# tells the commands the music was sent (Wine has no synthesiser to play
# them).
start_game "$TESSALINE_DATA_DIR" WINEDEBUG=+mci
[ "$(echo "$match" | jq -c .messages)" = "[]" ] || fail "message boxes at start: $(echo "$match" | jq -c .messages)"
geometry_becomes 100,100 320x240
wait_for '.title.titleFade == 224'
wait_for '.scene == 0 and .frame >= 150'

# Held still, the window is the native replay tool's frame.
shows_replay_frame 1 -window root -crop 320x240+100+100 +repage

# F1 moves the draw mode on by one.
press F1
wait_for '.selectors.DrawMode == 1'

# Enter starts the fight.
hold_until Return '.scene == 2'
wait_for '.intro.introState >= 4'

# Both fighters walk with Left: player 2's keyboard device reads it too.
left_walks_both

# X swings, and the swing's effect is played.
hold_until x 'played("Attack.wav")'

quit_game
[ "$(jq -s '[.[].messages[]] | length' "$state")" -eq 0 ] || fail "a message box: $(jq -c -s '[.[].messages[]]' "$state")"
# The sequencer opened on the piece, played from the start with the end
# to be notified to the window (MCI_NOTIFY | MCI_FROM), stopped and closed
# as the window went.
for command in 'mciSendCommandA (00000000, MCI_OPEN, 00002200,' 'lpstrElementName=L"sound.mid"' \
    'MCI_Open wDevID=0001 wDeviceID=1 dwRet=0' 'MCI_PLAY, 00000005,' 'MCI_STOP, 00000000,' 'MCI_CLOSE, 00000000,'; do
    grep -qF "$command" "$out/game.log" || fail "no MCI command $command"
done

# KO.wav missing: the box comes up during start-up, before the first frame,
# owned by no window; once answered the game goes on to its frames and
# reports the box it showed.
cp -r "$TESSALINE_DATA_DIR" "$out/data"
rm "$out/data/KO.wav"
: >"$state"
seen=0
(cd "$out/data" && exec env TESSALINE_STATE="$state" "$TESSALINE_GAME" >"$out/game.log" 2>&1) &
game=$!
answer_box DSound!
wait_for '.frame >= 30'
wid=$(xdotool search --name '^Tessaline$' | head -n 1)
first=$(head -n 1 "$state" | jq -c .messages)
[ "$first" = '[{"caption":"DSound!","text":"waveファイルの読み込みに失敗しました"}]' ] || fail "the box was $first"

# F5: Xvfb has no 320 x 240 mode to give, so the full screen's set-up shows
# its box and the game goes on with no picture; F5 again brings the window
# back at 100, 100 with its 320 x 240 client area, and the frames go on.
press F5
answer_box ERROR
press F5
wait_for 'any(.messages[]; .caption == "ERROR" and .text == "ディスプレイモード設定に失敗しました")'
wait_for '.displayMode == 1'
geometry_becomes 100,100 320x240
quit_game

# Started from its icon, with no console, and no data anywhere: what the
# game has to say comes in a box (here the game is alone in a folder and
# started as Explorer starts it), and once answered it ends with status 1.
mkdir "$out/alone"
cp "$exe" "$out/alone/tessaline.exe"
(cd "$out/alone" && exec sh "$wine_sh" "$out/wine" start /wait /unix "$out/alone/tessaline.exe" >"$out/alone.log" 2>&1) &
game=$!
answer_box Tessaline
status=0
wait "$game" || status=$?
[ "$status" -eq 1 ] || fail "without data the game ended with status $status, not 1"
echo "ok"
