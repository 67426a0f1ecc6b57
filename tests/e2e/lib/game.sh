# What the window scripts share, sourced by them: a scratch folder, a
# private Xvfb display, the real game started in a data folder with its
# sound on SDL's disk driver and its state report on, and waits on the
# game's own state (the frame, the scene, a fighter's field), never on the
# wall clock. The state report is one JSON line per frame shown; the waits
# read it with jq.
: "${TESSALINE_GAME:?}" "${TESSALINE_DATA_DIR:?}"

out=$(mktemp -d)
game=""
xvfb=""
state="$out/state.jsonl"
seen=0       # state lines already looked at by wait_for
match=""     # the line that met the last wait_for
cleanup() {
    # A game stopped for a screenshot is woken to take its end.
    [ -n "$game" ] && { kill "$game"; kill -CONT "$game"; } 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    if [ -n "${KEEP_SHOTS:-}" ]; then echo "files kept in $out"; else rm -rf "$out"; fi
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    [ -s "$state" ] && echo "last state: $(last_state)" >&2
    [ -s "$out/game.log" ] && sed 's/^/game: /' "$out/game.log" >&2
    exit 1
}

# SDL falls back silently to a driver with no window when X refuses it:
# name the driver, so such a start fails instead of testing nothing.
export SDL_VIDEODRIVER=x11

# A display of its own: Xvfb takes the first free display number and
# writes it once it accepts connections, so scripts can run side by side
# without racing for a number, and nothing starts before the server answers.
# The screen is $1 (default 640x480).
start_display() {
    Xvfb -displayfd 3 -screen 0 "${1:-640x480}x24" -br -nolisten tcp 3>"$out/display" >"$out/xvfb.log" 2>&1 &
    xvfb=$!
    i=0
    until [ -s "$out/display" ]; do
        kill -0 "$xvfb" 2>/dev/null || fail "Xvfb ended: $(cat "$out/xvfb.log")"
        i=$((i + 1)); [ $i -gt 600 ] && fail "Xvfb does not start"; sleep 0.05
    done
    export DISPLAY=":$(cat "$out/display")"
    xdpyinfo >/dev/null 2>&1 || fail "Xvfb does not answer on $DISPLAY"
}

# The game run from data folder $1 (further arguments are environment
# settings for it, then after a `--` the game's own arguments), its window
# in $wid; returns once the first frame is shown.
start_game() {
    dir=$1; shift
    : >"$state"
    seen=0
    # The game's name goes where the `--` is, or after the settings.
    n=$#; named=0
    for a in "$@"; do
        if [ "$a" = -- ] && [ $named = 0 ]; then set -- "$@" "$TESSALINE_GAME"; named=1; else set -- "$@" "$a"; fi
    done
    shift "$n"
    [ $named = 1 ] || set -- "$@" "$TESSALINE_GAME"
    (cd "$dir" && exec env TESSALINE_STATE="$state" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$out/audio.raw" "$@" \
        >"$out/game.log" 2>&1) &
    game=$!
    wait_for '.frame >= 1'
    wid=$(xdotool search --name '^Tessaline$' | head -n 1)
    [ -n "$wid" ] || fail "no window"
}

# The last whole line of the state report.
last_state() { n=$(wc -l <"$state"); [ "$n" -gt 0 ] && sed -n "${n}p" "$state"; }
# Words the conditions may use: `.actionFlags | bit(32)` for a flag,
# `played("Hit.wav")` for an effect played in the frame.
defs='def bit($b): ((. / $b) | floor) % 2 == 1; def played($s): any(.sounds[]; . == $s);'
# A jq expression evaluated on the last whole state line.
now() { last_state | jq -r "$defs $1"; }

# Waits until a frame's state line meets the jq condition $1. Every line
# after the one that met the last wait is looked at, so a one-frame event
# is not missed, even one in the same batch of lines as the last match. The
# line is left in $match. The game ending, or $2 seconds (default
# $WAIT_SECONDS, else 60) without it, fails the script: that bound only turns
# a hang into a failure, and a game run slowly (under valgrind) is given more.
wait_for() {
    deadline=$(( $(date +%s) + ${2:-${WAIT_SECONDS:-60}} ))
    while :; do
        n=$(wc -l <"$state")
        if [ "$n" -gt "$seen" ]; then
            found=$(sed -n "$((seen + 1)),${n}p" "$state" |
                jq -c -n "$defs foreach inputs as \$l (0; . + 1; if \$l | ($1) then [., \$l] else empty end)" |
                head -n 1)
            if [ -n "$found" ]; then
                seen=$((seen + $(echo "$found" | jq '.[0]')))
                match=$(echo "$found" | jq -c '.[1]')
                return 0
            fi
            seen=$n
        fi
        [ -n "$game" ] && ! kill -0 "$game" 2>/dev/null && fail "the game ended while waiting for: $1"
        [ "$(date +%s)" -gt "$deadline" ] && fail "timed out waiting for: $1"
        sleep 0.05
    done
}

# Waits until the mixer has written $1 bytes of sound in all (two a sample
# frame, 44100 a second): the mixer's own clock, which runs on while the
# game's frames stand still.
wait_sound() {
    i=0
    until [ "$(stat -c %s "$out/audio.raw" 2>/dev/null || echo 0)" -ge "$1" ]; do
        i=$((i + 1)); [ $i -gt 1200 ] && fail "the mixer stopped writing sound"
        sleep 0.05
    done
}

# Waits until the X server has the window at place $1 with size $2 (as
# "100,100" and "320x240"): a request to move or resize the window is
# carried out between frames.
geometry_becomes() {
    i=0
    until xdotool getwindowgeometry "$wid" | grep -q "Position: $1" &&
        xdotool getwindowgeometry "$wid" | grep -q "Geometry: $2"; do
        i=$((i + 1)); [ $i -gt 120 ] && fail "window not at $1, $2: $(xdotool getwindowgeometry "$wid")"
        wait_frames 1
    done
}

# Waits until $1 more frames have been shown.
wait_frames() { wait_for ".frame >= $(( $(now .frame) + $1 ))"; }

# Holds key $1 until the state meets condition $2, then lets it go. The
# game reads keys by their state at each frame, so a key is held until a
# frame has seen what it does.
hold_until() { xdotool keydown "$1"; wait_for "$2"; xdotool keyup "$1"; }
# A tap of a key the window procedure acts on (F1 to F6, Esc): its message
# is handled before the next frame whenever it comes. (Held longer, the X
# server's auto-repeat would send it again, as a held key does.)
press() { xdotool key "$1"; }

# Esc ends the game, which must exit with status 0.
quit_game() {
    xdotool key Escape
    status=0
    wait "$game" || status=$?
    game=""
    [ "$status" -eq 0 ] || fail "exit status $status"
}

# RMS amplitude of raw disk-driver output (22050 Hz, unsigned 8-bit stereo).
rms() { sox -t raw -r 22050 -e unsigned -b 8 -c 2 "$1" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}'; }

# The window's picture, held still, is the replay tool's: the game is
# stopped between frames, so it shows the frame of the last state line, or
# the next one if it was stopped after showing that frame and before
# writing its line. The replay tool draws both from the same start; scaled
# by $1, nearest pixel, one of them must be the screenshot exactly. The
# frame-rate figure (at 288, 64) comes from the clock, not the frame, and
# is left out of both. The rest are `import`'s arguments for the shot.
shows_replay_frame() {
    scale=$1
    shift
    kill -STOP "$game"
    last=$(wc -l <"$state")
    import "$@" "$out/window.png"
    kill -CONT "$game"
    "$TESSALINE_REPLAY" --data "$TESSALINE_DATA_DIR" --frames $((last + 1)) --png "$out/replay" \
        --at "$last,$((last + 1))" >/dev/null
    rate="rectangle $((288 * scale)),$((64 * scale)) $((320 * scale - 1)),$((80 * scale - 1))"
    convert "$out/window.png" -fill black -draw "$rate" "$out/shot.png"
    same=""
    for frame in "$last" $((last + 1)); do
        convert "$out/replay/frame-$(printf %05d "$frame").png" -sample "$((scale * 100))%" \
            -fill black -draw "$rate" "$out/expected.png"
        differ=$(compare -metric AE "$out/shot.png" "$out/expected.png" null: 2>&1 || true)
        echo "frame $frame: $differ pixels differ"
        [ "$differ" = 0 ] && same=$frame
    done
    [ -n "$same" ] || fail "the window is not frame $last or $((last + 1)) of the replay tool, scaled by $scale"
}

# Without a gamepad player 2 reads the same keys through the keyboard
# device: holding Left walks both fighters.
left_walks_both() {
    x1=$(now '.fighters[0].root[0]')
    x2=$(now '.fighters[1].root[0]')
    hold_until Left ".fighters[0].root[0] < $x1 - 40"
    wait_frames 1
    [ "$(now ".fighters[1].root[0] < $x2 - 40")" = true ] ||
        fail "player 2 did not walk with Left: fighter 2 at $(now '.fighters[1].root[0]') from $x2"
}
