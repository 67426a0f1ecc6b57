#!/bin/sh
# The computer opponent against three scripted players for player 1, 50
# matches a level and script, each from its own seed: the computer's win
# rate and the average frames to a result (knock-out or ring-out).
# Usage: bench/computer.sh BUILD [MATCHES]   (make bench-cpu)
set -eu
build=${1:-build}
matches=${2:-50}
replay=$build/tessaline-replay
echo "| level | player 1 | computer wins | average frames to a result | longest | undecided |"
echo "|---|---|---|---|---|---|"
for level in 1 2 3; do
    for script in idle walk-swing jump-swing; do
        seed=1
        while [ "$seed" -le "$matches" ]; do
            "$replay" --data "$build/data" --frames 6000 --p1 "script:$script" --p2 "cpu:$level" \
                --seed "$seed" --until-end
            seed=$((seed + 1))
        done | awk -v level="$level" -v script="$script" '
            $1 == "undecided" { undecided++; next }
            { n++; frames += $5; if ($3 == 2) wins++; if ($5 > longest) longest = $5 }
            END {
                total = n + undecided
                printf "| %d | %s | %d%% | %d | %d | %d |\n", level, script, total ? 100 * wins / total : 0,
                    n ? frames / n : 0, longest, undecided
            }'
    done
done
