# What the window scripts share, sourced by them: a scratch folder, a
# private Xvfb display, the game started in a data folder with its sound
# on SDL's disk driver, and key presses the game cannot miss.
: "${TESSALINE_GAME:?}" "${TESSALINE_DATA_DIR:?}"

out=$(mktemp -d)
game=""
xvfb=""
cleanup() {
    [ -n "$game" ] && kill "$game" 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    if [ -n "${KEEP_SHOTS:-}" ]; then echo "files kept in $out"; else rm -rf "$out"; fi
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# A display of its own, from display number $1 up, so scripts can run side by side.
start_display() {
    n=$1
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 640x480x24 -br -nolisten tcp >"$out/xvfb.log" 2>&1 &
    xvfb=$!
    export DISPLAY=":$n"
    i=0
    until xdotool getmouselocation >/dev/null 2>&1; do
        i=$((i + 1)); [ $i -gt 100 ] && fail "Xvfb did not start"; sleep 0.1
    done
}

# The game run from data folder $1, its window in $wid and focused.
start_game() {
    cd "$1"
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$out/audio.raw" "$TESSALINE_GAME" >"$out/game.log" 2>&1 &
    game=$!
    wid=$(timeout 20 xdotool search --sync --name '^Tessaline$' | head -n 1) || fail "no window"
    xdotool windowfocus --sync "$wid" 2>/dev/null || true
}

# The game reads keys by their state at each frame, so a tap shorter than a
# frame can fall between two frames: every press is held for six frames.
press() { xdotool keydown --window "$wid" "$1"; sleep 0.1; xdotool keyup --window "$wid" "$1"; }

# Esc ends the game, which must exit with status 0.
quit_game() {
    xdotool key --window "$wid" Escape
    status=0
    wait "$game" || status=$?
    game=""
    [ "$status" -eq 0 ] || fail "exit status $status"
}

# RMS amplitude of raw disk-driver output (22050 Hz, unsigned 8-bit stereo).
rms() { sox -t raw -r 22050 -e unsigned -b 8 -c 2 "$1" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}'; }
