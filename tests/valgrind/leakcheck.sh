#!/bin/sh
# The leak check: the replay tool through a scripted fight and the real game
# (under Xvfb: title, the fight, Esc) run under valgrind. Either fails on a
# block definitely lost or a memory error; what the system libraries behind
# the window, the sound and the music keep or do on their own is listed in
# game.supp, so what is left reaches the game's own code.
# Usage: leakcheck.sh BUILD-FOLDER (the plain build: valgrind cannot run a
# sanitizer build).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
source_dir=$(cd "$here/../.." && pwd)
export TESSALINE_DATA_DIR="$build/data"

valgrind="valgrind --quiet --leak-check=full --show-leak-kinds=definite --errors-for-leak-kinds=definite"
valgrind="$valgrind --error-exitcode=99 --suppressions=$here/game.supp --num-callers=30 ${VALGRIND_OPTIONS:-}"

echo "replay tool: 300 frames of a scripted fight"
scratch=$(mktemp -d)
# shellcheck disable=SC2086
if ! $valgrind "$build/tessaline-replay" --data "$TESSALINE_DATA_DIR" --frames 300 \
        --input "$source_dir/tests/tools/matches/ko.input" --state "$scratch/state.jsonl"; then
    rm -rf "$scratch"
    echo "FAIL: valgrind found errors in the replay tool" >&2
    exit 1
fi
[ "$(wc -l <"$scratch/state.jsonl")" -eq 300 ] || { echo "FAIL: the replay tool stopped early" >&2; exit 1; }
rm -rf "$scratch"

echo "the real game: title, fight, Esc"
# The window scripts' set-up, with the game started through valgrind, whose
# report goes to the game's log; a report turns the exit status to 99.
wrapper=$(mktemp)
printf '#!/bin/sh\nexec %s "%s"\n' "$valgrind" "$build/tessaline" >"$wrapper"
chmod +x "$wrapper"
export TESSALINE_GAME="$wrapper" WAIT_SECONDS=600
. "$source_dir/tests/e2e/lib/game.sh"
trap 'rm -f "$wrapper"; cleanup' EXIT
start_display
start_game "$TESSALINE_DATA_DIR"
hold_until Return '.scene == 2'
wait_for '.intro.introState >= 4'
hold_until x 'played("Attack.wav")'
wait_frames 30
quit_game
echo "ok: no definite leak or memory error in the game's code"
