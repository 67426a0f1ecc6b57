#!/bin/sh
# The real game's mix as a player hears it, through SDL's disk driver: a
# fight over the music with jumps, blade clashes, ten blows and the
# knock-out, then the same stretch of the music alone from a second run
# that stays on the title. The piece is played the same way each time, so
# the two captures, lined up on the music's first sound, differ only by the
# effects. The mix never reaches full scale (0 or 255), and every effect
# makes the output louder than the music alone at that moment, the blows
# and the knock-out by far.
set -eu
. "$(dirname "$0")/lib/game.sh"

# Long enough after an effect for it and the one it set off to end
# (the clash rings for 0.6 s), so every exchange sounds on its own.
quiet() { wait_frames 50; }

start_display
start_game "$TESSALINE_DATA_DIR"
hold_until Return '.scene == 2'
wait_for '.intro.introState >= 4'
# Both fighters answer the keys: they jump together, and their blows meet
# blade on blade.
hold_until z 'played("Jump.wav")'
wait_for '[.fighters[].actionFlags | bit(16)] | any | not'
quiet
for clash in 1 2 3; do
    hold_until x 'played("Attack.wav")'
    wait_for 'played("Sousatu.wav")'
    quiet
done
# Player 2 flinching (C held) cannot swing, so player 1's blows land; the
# tenth knocks player 2 out.
xdotool keydown c
blows=0
until [ "$(now .scene)" != 2 ]; do
    blows=$((blows + 1)); [ $blows -gt 12 ] && fail "no knock-out after 12 blows"
    hold_until x 'played("Attack.wav")'
    wait_for 'played("Hit.wav")'
    quiet
done
xdotool keyup c
wait_frames 30  # the knock-out's fall dies away
grep -q '"KO.wav"' "$state" || fail "no knock-out sound"
quit_game
mv "$out/audio.raw" "$out/fight.raw"
jq -r 'select(.sounds | length > 0) | "\(.frame) \(.sounds | unique | join(" "))"' "$state" >"$out/events.txt"

# The music alone, for as long as the fight and a second more.
fight_bytes=$(stat -c %s "$out/fight.raw")
start_game "$TESSALINE_DATA_DIR"
wait_sound $((fight_bytes + 44100))
quit_game
mv "$out/audio.raw" "$out/music.raw"

raw="-t raw -r 22050 -e unsigned -b 8 -c 2"
# shellcheck disable=SC2086
sox $raw "$out/fight.raw" "$out/fight.wav"
echo "the fight, music and effects:"
sox "$out/fight.wav" -n stats 2>&1 | grep -E 'Pk lev|RMS lev|RMS Pk'

# Sample frames as "left right", from the music's first sound on. The
# fight's last tenth of a second goes: the game's end silences it.
frames() { od -An -v -tu1 -w2 "$1" | awk 'go || $1 != 128 || $2 != 128 { go = 1; print $1, $2 }'; }
frames "$out/fight.raw" | head -n -2205 >"$out/fight.txt"
frames "$out/music.raw" >"$out/music.txt"

# The effects are where the captures differ. Effects played within a few
# frames of each other form an exchange; exchanges are apart, so each one
# is a burst of difference, whose first sample is where the exchange's
# first effect starts. The rate of game frames against samples, from the
# first and last bursts, places the later effects of an exchange. Each
# effect's window: the output against the music alone there, as an RMS
# ratio; the knock-out is judged after the blow played with it has ended.
paste -d ' ' "$out/fight.txt" "$out/music.txt" | awk -v events="$out/events.txt" '
BEGIN {
    while ((getline line < events) > 0) {
        split(line, w, " ")
        if (groups == 0 || w[1] - last > 20) first[groups++] = w[1]
        last = w[1]
        for (k = 2; k in w; k++) { ev++; evFrame[ev] = w[1]; evName[ev] = w[k]; evGroup[ev] = groups - 1 }
        delete w
    }
    # The window of each effect (seconds from its start, and how long) and
    # the least ratio: the blow and the knock-out clearly above the music,
    # the clash clearly, the swing and the jump lighter but heard.
    from["Hit.wav"] = 0;     len["Hit.wav"] = 0.15;     need["Hit.wav"] = 2
    from["KO.wav"] = 0.4;    len["KO.wav"] = 0.4;       need["KO.wav"] = 1.7
    from["Sousatu.wav"] = 0; len["Sousatu.wav"] = 0.15; need["Sousatu.wav"] = 1.6
    from["Attack.wav"] = 0;  len["Attack.wav"] = 0.15;  need["Attack.wav"] = 1.12
    from["Jump.wav"] = 0;    len["Jump.wav"] = 0.15;    need["Jump.wav"] = 1.12
}
NF == 4 {
    a1[n] = $1 - 128; a2[n] = $2 - 128; b1[n] = $3 - 128; b2[n] = $4 - 128
    if ($1 == 0 || $1 == 255) clipped++
    if ($2 == 0 || $2 == 255) clipped++
    if ($1 != $3 || $2 != $4) {
        if (bursts == 0 || n - lastDiff > 2205) start[bursts++] = n
        lastDiff = n
    }
    n++
}
END {
    printf "%d samples at full scale in %.1f s\n", clipped, n / 22050
    if (bursts != groups) { printf "%d bursts of effects heard, %d exchanges played\n", bursts, groups; exit 1 }
    perFrame = (start[groups - 1] - start[0]) / (first[groups - 1] - first[0])
    bad = clipped > 0
    for (e = 1; e <= ev; e++)
        onset[e] = int(start[evGroup[e]] + (evFrame[e] - first[evGroup[e]]) * perFrame)
    for (e = 1; e <= ev; e++) {
        name = evName[e]
        at = onset[e] + int(from[name] * 22050)
        end = at + int(len[name] * 22050)
        # up to the next effect of the exchange
        if (e < ev && evGroup[e + 1] == evGroup[e] && onset[e + 1] > at && onset[e + 1] < end) end = onset[e + 1]
        mix = 0; music = 0
        for (i = at; i < end && i < n; i++) {
            mix += a1[i] * a1[i] + a2[i] * a2[i]
            music += b1[i] * b1[i] + b2[i] * b2[i]
        }
        ratio = music > 0 ? sqrt(mix / music) : 99
        if (!(name in low) || ratio < low[name]) low[name] = ratio
    }
    for (name in need) {
        if (!(name in low)) { print name " never played"; bad = 1; continue }
        printf "%-12s output against the music alone: at least %.2f times the RMS (needs %.2f)\n", name, low[name], need[name]
        if (low[name] < need[name]) bad = 1
    }
    exit bad
}' || fail "the mix clips or an effect is not heard over the music"
echo "ok"
