#!/bin/sh
# The music loads beside the game, not in its first frame. The game is
# told (TESSALINE_MUSIC_LOAD_AFTER_FRAMES) to begin loading its piece only
# once it has shown some frames: a first frame that waited for the piece
# would then never come. With the load held for 30 frames, the first
# frames come, sent the same music commands as ever, and the piece is
# heard once it has loaded. With the load held for longer than the run,
# the game quits while its piece still waits, cleanly and without a sound.
set -eu
. "$(dirname "$0")/lib/game.sh"

# Whether the output so far holds any sound (silence is byte 0x80).
heard() { [ "$(tr -d '\200' <"$out/audio.raw" | head -c 1 | wc -c)" -gt 0 ]; }

start_display

start_game "$TESSALINE_DATA_DIR" TESSALINE_MUSIC_LOAD_AFTER_FRAMES=30
[ "$(echo "$match" | jq -c .music)" = '["open sound.mid","play"]' ] ||
    fail "the first frame's music commands are $(echo "$match" | jq -c .music)"
wait_for '.frame >= 30'
# The mixer's output, written at a real device's pace, is the clock: the
# piece must sound within the bound wait_sound keeps on the mixer.
i=0
until heard; do
    i=$((i + 1)); [ $i -gt 1200 ] && fail "the music is never heard"
    kill -0 "$game" 2>/dev/null || fail "the game ended before its music was heard"
    sleep 0.05
done
quit_game

start_game "$TESSALINE_DATA_DIR" TESSALINE_MUSIC_LOAD_AFTER_FRAMES=1000000
wait_for '.frame >= 60'
quit_game
heard && fail "a piece closed before it loaded was heard"
echo "ok"
