#!/bin/sh
# Damaged effects and music in the real game, whose mixer and synthesiser
# (unlike the replay tool's) really take the sounds in. The first runs
# damage every effect a different way, and the music; the last ones the
# music alone. The game must show each effect's message box at start-up,
# in the loading order, none for the music, reach the fight and quit
# cleanly.
set -eu
. "$(dirname "$0")/lib/game.sh"

# Bytes written over a file at an offset (printf escapes), the rest kept.
# shellcheck disable=SC2059
put() { printf "$3" | dd of="$1" bs=1 seek="$2" conv=notrunc 2>/dev/null; }

unreadable='{"caption":"DSound!","text":"waveファイルの読み込みに失敗しました"}'
not_wave='{"caption":"DSound!","text":"Wave形式のRIFFファイルではありません"}'
not_pcm='{"caption":"Read_WaveFile!","text":"PCM以外の形式は使用できません"}'
no_buffer='{"caption":"DSound!","text":"バッファの作成に失敗"}'

# A fresh copy of the data, for the run's damage.
fresh() { rm -rf "$out/data"; cp -r "$TESSALINE_DATA_DIR" "$out/data"; d="$out/data"; }

# Plays the damaged copy: the boxes of the first frame must be the list $1.
play() {
    start_game "$d"
    [ "$(echo "$match" | jq -c .messages)" = "[$1]" ] ||
        fail "message boxes $(echo "$match" | jq -c .messages), not [$1]"
    hold_until Return '.scene == 2'
    wait_for '.intro.introState >= 4'
    quit_game
    [ "$(jq -s '[.[1:][].messages[]] | length' "$state")" -eq 0 ] || fail "a message box after start-up"
}

start_display

# The formats the mixer cannot take, and files that are no WAVE at all.
# Effects load in the order Hit, Attack, Sousatu, Jump, KO. The music's
# first track runs past the end of the file.
fresh
put "$d/Hit.wav" 24 '\001\000\000\000'     # one sample a second
put "$d/Attack.wav" 16 '\050\000\000\000'  # a 40-byte format: not plain PCM
put "$d/Sousatu.wav" 22 '\377\377'         # 65535 channels
yes | head -c 4454 >"$d/Jump.wav"          # no RIFF
rm "$d/KO.wav"
put "$d/sound.mid" 18 '\177\377\377\377'
play "$no_buffer,$not_pcm,$no_buffer,$not_wave,$unreadable"

# Sizes past the end, a folder, a rate and a depth the mixer cannot take;
# a music header longer than any file.
fresh
put "$d/Hit.wav" 24 '\377\377\377\377'     # 2^32-1 samples a second
rm "$d/Attack.wav"; mkdir "$d/Attack.wav"
put "$d/Sousatu.wav" 40 '\377\377\377\377' # samples past the end
put "$d/Jump.wav" 34 '\000\000'            # 0 bits a sample
put "$d/sound.mid" 4 '\377\377\377\377'
play "$no_buffer,$unreadable,$unreadable,$no_buffer"

# Music cut in the middle of a track that claims 65535 companions, music
# that is noise, and a folder in its place: no word, and the fight goes on.
fresh
put "$d/sound.mid" 10 '\377\377'
head -c 7000 "$d/sound.mid" >"$out/cut.mid" && mv "$out/cut.mid" "$d/sound.mid"
play ""
fresh
yes 'MThd' | head -c 14065 >"$d/sound.mid"
play ""
fresh
rm "$d/sound.mid"; mkdir "$d/sound.mid"
play ""
echo "ok"
