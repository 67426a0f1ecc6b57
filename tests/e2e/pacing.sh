#!/bin/sh
# The real game holds 60 frames a second under Xvfb, whose virtual display
# paces presents at about 64: once the frame-rate figure at the right of
# the screen has been worked out a few times it reads 59 to 61, with the
# default settings and with vsync switched off.
set -eu
. "$(dirname "$0")/lib/game.sh"

# The figure on the state line of frame 300, the fifth second at 60.
rate_holds_sixty() {
    wait_for '.frame >= 300'
    rate=$(echo "$match" | jq -r .frameRate)
    case "$rate" in
    59 | 60 | 61) ;;
    *) fail "$1: the frame rate reads '$rate' at frame $(echo "$match" | jq .frame)" ;;
    esac
}

start_display 151
start_game "$TESSALINE_DATA_DIR"
rate_holds_sixty "default settings"
quit_game

start_game "$TESSALINE_DATA_DIR" SDL_RENDER_VSYNC=0
rate_holds_sixty "vsync off"
quit_game
echo "ok"
