#!/bin/sh
# The command line in the real game. Started from an empty folder with no
# --data, it finds the data beside the executable. --scale 3: a 960 x 720
# window at 100, 100 showing the game's own picture three times over, pixel
# for pixel; F5 and F5 again bring that window back. --fullscreen: the
# screen is covered from the start. A bad command line, and a game with no
# data anywhere, end with their one line and status before any window.
set -eu
. "$(dirname "$0")/lib/game.sh"
: "${TESSALINE_REPLAY:?}" "${TESSALINE_INSTALLED_DATA:?}"
unset TESSALINE_DATA

start_display 1280x1024
mkdir "$out/elsewhere"

start_game "$out/elsewhere" -- --scale 3
wait_for '.scene == 0 and .frame >= 150'
grep -q '^\[' "$out/game.log" && fail "message boxes: $(cat "$out/game.log")"
geometry_becomes 100,100 960x720

# The picture held still is the replay tool's frame, scaled by 3.
shows_replay_frame 3 -window "$wid"

press F5
wait_for '.displayMode == 2'
geometry_becomes 0,0 1280x1024
press F5
wait_for '.displayMode == 1'
geometry_becomes 100,100 960x720
quit_game

# Full screen from the start, and F5 back to today's window.
start_game "$TESSALINE_DATA_DIR" -- --fullscreen
wait_for '.displayMode == 2'
geometry_becomes 0,0 1280x1024
press F5
wait_for '.displayMode == 1'
geometry_becomes 100,100 320x240
quit_game

# A bad command line: status 2, what was wrong, then the usage, and the
# state report never written to.
refused() {
    expected=$1; shift
    status=0
    (cd "$out/elsewhere" && TESSALINE_STATE="$state" "$TESSALINE_GAME" "$@" >"$out/stdout" 2>"$out/stderr") || status=$?
    [ "$status" = 2 ] || fail "$*: status $status"
    [ "$(sed -n 1p "$out/stderr")" = "tessaline: $expected" ] || fail "$*: said $(cat "$out/stderr")"
    sed -n 2p "$out/stderr" | grep -q '^usage: tessaline \[--data DIR\] \[--scale N\]' || fail "$*: no usage"
    [ "$(wc -l <"$out/stderr")" = 2 ] || fail "$*: more than the line and the usage"
    [ ! -s "$out/stdout" ] || fail "$*: wrote to stdout"
    [ ! -s "$state" ] || fail "$*: the game ran"
}
rm -f "$state"
refused '--scale wants a whole number from 1 to 8, not "9"' --scale 9
refused 'unknown option "--nonsense"' --nonsense
refused 'unexpected argument "fight"' --fullscreen fight
"$TESSALINE_GAME" --version | grep -qx 'tessaline [0-9]*\.[0-9]*\.[0-9]*' || fail "--version: $("$TESSALINE_GAME" --version)"

# No data anywhere: a copy of the game with nothing beside it, started from
# an empty folder. (Where a game is installed on this machine, its data is
# found there instead, and the game plays.)
mkdir "$out/lonely" "$out/empty"
cp "$TESSALINE_GAME" "$out/lonely/tessaline"
TESSALINE_GAME="$out/lonely/tessaline"
if [ -f "$TESSALINE_INSTALLED_DATA/file/SinTable.file" ] && [ -d "$TESSALINE_INSTALLED_DATA/Image" ] &&
    [ -d "$TESSALINE_INSTALLED_DATA/Motion" ]; then
    echo "the installed data in $TESSALINE_INSTALLED_DATA is found"
    start_game "$out/empty"
    quit_game
else
    status=0
    (cd "$out/empty" && TESSALINE_STATE="$state" "$TESSALINE_GAME" 2>"$out/stderr") || status=$?
    [ "$status" = 1 ] || fail "no data: status $status"
    [ "$(cat "$out/stderr")" = "tessaline: no game data found in $out/empty (the current folder), $out/lonely/data (beside the game), $TESSALINE_INSTALLED_DATA (installed); name a folder with --data DIR or TESSALINE_DATA" ] ||
        fail "no data: said $(cat "$out/stderr")"
    [ ! -s "$state" ] || fail "no data: the game ran"
fi
echo "ok"
