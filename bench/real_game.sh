#!/bin/bash
# What the real game costs to run, under a private Xvfb at 60 frames a
# second: the CPU share of one core on the title and in a fight (and the X
# server's, which draws what the game sends it), the peak resident memory,
# the time from the process's start to its first frame shown, and how
# much later the music is first heard.
#   bench/real_game.sh [build folder] [seconds a measure]   (or: make bench-game)
# TESSALINE_GAME names another build of the game to measure on the same data.
# Figures, not checks: nothing here fails on a slow figure. The state report
# is on (it is how the script follows the game), as in the window tests.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
seconds=${2:-10}
export TESSALINE_GAME="${TESSALINE_GAME:-$build/tessaline}" TESSALINE_DATA_DIR="$build/data"
. "$here/tests/e2e/lib/game.sh"

tick=$(getconf CLK_TCK)
# CPU time (user + system) of process $1 in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
# CPU time of all of process $1's threads in nanoseconds, from the scheduler.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ n += $1 } END { print n }'; }

# CPU shares of the game and of the X server over $seconds of wall clock,
# with the frames shown meanwhile.
measure() {
    g0=$(cpu_ticks "$game"); x0=$(cpu_ticks "$xvfb"); f0=$(wc -l <"$state"); t0=$EPOCHREALTIME
    sleep "$seconds"
    g1=$(cpu_ticks "$game"); x1=$(cpu_ticks "$xvfb"); f1=$(wc -l <"$state"); t1=$EPOCHREALTIME
    awk -v what="$1" -v g=$((g1 - g0)) -v x=$((x1 - x0)) -v f=$((f1 - f0)) -v t0="$t0" -v t1="$t1" -v hz="$tick" \
        'BEGIN { s = t1 - t0; printf "%-6s game %5.1f%% of a core, X server %5.1f%%, %.1f frames a second (%.1f s)\n",
                 what, 100 * g / hz / s, 100 * x / hz / s, f / s, s }'
}

start_display
# The start is timed from just before the game's exec to the first line of
# the state report, which is written once the first frame has been shown;
# the CPU time the game has used by then is told too, as other work on a
# shared machine stretches the wall-clock figure.
# The poll sleeps half a millisecond at a time on a pipe nobody writes to,
# without starting a process each time.
mkfifo "$out/tick"
exec 9<>"$out/tick"
: >"$state"
seen=0
(
    cd "$TESSALINE_DATA_DIR"
    export TESSALINE_STATE="$state" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$out/audio.raw"
    echo "$EPOCHREALTIME" >"$out/start"
    exec "$TESSALINE_GAME" >"$out/game.log" 2>&1
) &
game=$!
until [ -s "$state" ]; do
    read -r -t 0.0005 -u 9 _ || :
    kill -0 "$game" 2>/dev/null || fail "the game ended before its first frame"
done
shown=$EPOCHREALTIME
used=$(cpu_ns "$game")
outputByFirstFrame=$(stat -c %s "$out/audio.raw" 2>/dev/null || echo 0)
awk -v a="$(cat "$out/start")" -v b="$shown" -v c="$used" \
    'BEGIN { printf "start  %.1f ms from exec to the first frame shown, %.1f ms of CPU by then\n", 1000 * (b - a), c / 1e6 }'

wait_for '.frame >= 120'
measure title
hold_until KP_Enter '.title.startKeySeen == 1'
wait_for '.scene == 2 and .intro.introState >= 4'
measure fight
# The music's first sound against the output written by the first frame,
# both in the mixer's output (44100 bytes a second at a real device's
# pace). The driver writes through a buffer of 4 KB, so the output by the
# first frame may be up to 93 ms more than the file showed then.
first=$(tr -c '\200' '\n' <"$out/audio.raw" | head -n 1 | wc -c)
awk -v first="$first" -v at="$outputByFirstFrame" \
    'BEGIN { printf "music  first heard %.0f ms of output after the first frame\n", 1000 * (first - 1 - at) / 44100 }'
grep VmHWM "/proc/$game/status" | awk '{ printf "memory %.1f MB peak resident (VmHWM)\n", $2 / 1024 }'
quit_game
