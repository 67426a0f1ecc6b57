#!/bin/sh
# The real game's start and its steady run under Xvfb: up to the first
# frame, the game makes one top-level window and maps it once (no window
# made again for a 3D context or a mode change), and it goes on presenting:
# the frames count on and the picture on the screen changes with them, on
# the title and in a fight. (What it costs is measured by
# bench/real_game.sh, not checked here.)
set -eu
. "$(dirname "$0")/lib/game.sh"

start_display
# The X server tells xev of every window made, mapped, unmapped or
# destroyed at the top level, in the order it handles them. Its output
# goes to a file line by line: left to the C library, a file gets it in
# blocks of kilobytes, and a map it has seen could wait unwritten.
stdbuf -oL xev -root -event substructure >"$out/xev.log" 2>&1 &
watcher=$!
trap 'kill "$watcher" 2>/dev/null || true; cleanup' EXIT

# The top-level window events so far, one "Kind window" line each.
window_events() {
    awk '/^(Create|Map|Unmap|Destroy)Notify event/ { kind = $1; getline; sub(/.*window /, ""); sub(/,.*/, ""); print kind, $0 }' \
        "$out/xev.log"
}
# A clock window mapped and closed again: once xev has told of its map,
# everything the X server did before is in the log too. Its windows are
# noted, to be left out of the game's. (The clock has a window inside its
# top-level one, and a search by process may name either first: the map
# looked for is whichever of them xev reports.)
probe() {
    xclock -geometry 60x60+520+400 >/dev/null 2>&1 &
    clock=$!
    ids=$(timeout 20 xdotool search --sync --pid "$clock") || fail "no clock window"
    for id in $ids; do printf '0x%x\n' "$id"; done >>"$out/probes"
    i=0
    until window_events | awk '$1 == "MapNotify" { print $2 }' | grep -q -x -F -f "$out/probes"; do
        i=$((i + 1)); [ $i -gt 400 ] && fail "xev did not see the clock window mapped"
        sleep 0.05
    done
    kill "$clock"
    wait "$clock" 2>/dev/null || true
}
# xev says nothing when it has begun to listen; until a clock's map shows
# in its log, the game is not started. A clock it missed while starting
# up is closed and another one mapped.
await_watcher() {
    n=0
    until [ -s "$out/xev.log" ] && window_events | grep -q '^MapNotify'; do
        n=$((n + 1)); [ $n -gt 20 ] && fail "xev never began to listen"
        xclock -geometry 60x60+520+400 >/dev/null 2>&1 &
        early=$!
        ids=$(timeout 20 xdotool search --sync --pid "$early") || fail "no clock window"
        for id in $ids; do printf '0x%x\n' "$id"; done >>"$out/probes"
        i=0
        until window_events | grep -q '^MapNotify' || [ $i -ge 20 ]; do i=$((i + 1)); sleep 0.05; done
        kill "$early"
        wait "$early" 2>/dev/null || true
    done
}
game_window_events() { window_events | grep -v -F -f "$out/probes" || true; }

await_watcher
probe
start_game "$TESSALINE_DATA_DIR"
probe
events=$(game_window_events)
made=$(echo "$events" | grep -c '^CreateNotify' || true)
mapped=$(echo "$events" | grep -c '^MapNotify' || true)
gone=$(echo "$events" | grep -c '^DestroyNotify' || true)
[ "$made" -eq 1 ] && [ "$mapped" -eq 1 ] && [ "$gone" -eq 0 ] ||
    fail "up to the first frame: $made windows made, $mapped maps, $gone destroyed: $(echo "$events" | tr '\n' ' ')"
[ "$(echo "$events" | grep '^MapNotify' | cut -d' ' -f2)" = "$(printf '0x%x' "$wid")" ] ||
    fail "the window mapped is not the game's ($wid): $events"

# A shot of the window differs from one taken a few frames later, within
# 120 frames: the frames reach the screen, not only the state report. The
# title's idle pose comes round in a few dozen frames with only nine
# pictures in it, so two shots a fixed number of frames apart can meet the
# same picture; the shots go on until one differs.
picture_moves() {
    import -window "$wid" "$out/a.png"
    shots=0
    while :; do
        wait_frames 5
        import -window "$wid" "$out/b.png"
        compare -metric AE "$out/a.png" "$out/b.png" null: 2>/dev/null || return 0
        shots=$((shots + 1))
        [ $shots -lt 24 ] || fail "$1: the picture stands still"
    done
}
wait_for '.frame >= 60'
picture_moves title
hold_until KP_Enter '.title.startKeySeen == 1'
wait_for '.scene == 2 and .intro.introState >= 4'
# Fighters left alone may stand still; player 1 walks while the shots
# are taken.
xdotool keydown Right
picture_moves fight
xdotool keyup Right
wait_frames 120
quit_game
echo "ok"
