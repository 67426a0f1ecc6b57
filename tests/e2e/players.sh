#!/bin/sh
# Who plays, in the real game: the computer as player 2 walks in and
# swings; the keypad moves player 2 and only player 2; the demo starts its
# fights and finishes them with no key pressed; a gamepad asked for and not
# there ends the game with status 2.
set -eu
. "$(dirname "$0")/lib/game.sh"

start_display

# The computer: player 1 stands still, player 2 comes to it and strikes.
start_game "$TESSALINE_DATA_DIR" -- --p2 cpu:3
hold_until Return '.scene == 2'
wait_for '.fighters[1].root[0] < 100'
wait_for '.fighters[1].actionFlags | bit(32)'
[ "$(echo "$match" | jq '.fighters[0].root[0]')" = -324 ] || fail "player 1 moved: $match"
quit_game

# The keypad: 6 walks player 2 right and 8 into the screen; player 1's arrow
# is player 1's alone. Each walk is away from player 1, so however many
# frames pass before the key is let go, the bodies never touch and shove
# player 1. (KP_Right and KP_Up are the keys' own names with Num Lock off,
# as Xvfb starts.)
start_game "$TESSALINE_DATA_DIR" -- --p2 keys
hold_until Return '.scene == 2'
hold_until KP_Right '.fighters[1].root[0] >= 188'
hold_until KP_Up '.fighters[1].root[2] >= -60'
[ "$(echo "$match" | jq -c '.fighters[0].root | [.[0], .[2]]')" = '[-324,-100]' ] || fail "player 1 moved: $match"
x2=$(now '.fighters[1].root[0]')
hold_until Left '.fighters[0].root[0] <= -388'
[ "$(now '.fighters[1].root[0]')" = "$x2" ] || fail "player 2 walked with player 1's arrow: $(last_state)"
quit_game

# The demo: no key at all, and a fight begins, ends and the next begins.
start_game "$TESSALINE_DATA_DIR" -- --demo
wait_for '.scene == 2'
wait_for '.scene == 3' 120
wait_for '.scene == 0' 30
wait_for '.scene == 2' 30
quit_game

# No gamepad is attached under Xvfb.
status=0
(cd "$TESSALINE_DATA_DIR" && SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$out/audio.raw" \
    "$TESSALINE_GAME" --p2 pad >"$out/pad.log" 2>&1) || status=$?
[ "$status" -eq 2 ] || fail "--p2 pad without a gamepad: status $status"
grep -q "no gamepad is attached" "$out/pad.log" || fail "--p2 pad without a gamepad: $(cat "$out/pad.log")"
echo "ok"
