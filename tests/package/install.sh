#!/bin/sh
# `cmake --install` into a scratch prefix: the files land where Debian
# keeps a game's, nothing of the build but the game and the replay tool is
# installed, and the installed game, started from another folder and told
# where its data is, shows its title and quits with status 0.
# Argument: the build folder.
set -eu
build=$1
packaging="$(dirname "$0")/../../packaging"
# Both are set below, inside the scratch folder the window library makes.
TESSALINE_GAME=later TESSALINE_DATA_DIR=later
. "$(dirname "$0")/../e2e/lib/game.sh"

prefix="$out/prefix"
cmake --install "$build" --prefix "$prefix" >"$out/install.log" 2>&1 || fail "cmake --install: $(cat "$out/install.log")"
id=org.tessaline.Tessaline
data="$prefix/share/games/tessaline"

# Every file outside the data folder, and nothing else.
cat >"$out/expected" <<LIST
games/tessaline
games/tessaline-replay
share/applications/$id.desktop
share/doc/tessaline/LICENSE
share/doc/tessaline/README.md
share/doc/tessaline/changelog.gz
share/doc/tessaline/copyright
share/icons/hicolor/128x128/apps/$id.png
share/icons/hicolor/256x256/apps/$id.png
share/icons/hicolor/48x48/apps/$id.png
share/man/man6/tessaline-replay.6.gz
share/man/man6/tessaline.6.gz
share/metainfo/$id.metainfo.xml
LIST
(cd "$prefix" && find . -path ./share/games/tessaline -prune -o ! -type d -print | sed 's|^\./||' | LC_ALL=C sort) >"$out/found"
LC_ALL=C sort -o "$out/expected" "$out/expected"
diff "$out/expected" "$out/found" >"$out/layout.diff" || fail "installed files differ (- missing, + extra): $(cat "$out/layout.diff")"
diff -r "$build/data" "$data" >/dev/null || fail "the installed data is not the build's data"
[ -x "$prefix/games/tessaline" ] && [ -x "$prefix/games/tessaline-replay" ] || fail "the programs are not executable"

# The icons: PNG files of their folder's size (the header's width and height).
for size in 48 128 256; do
    icon="$prefix/share/icons/hicolor/${size}x$size/apps/$id.png"
    got=$(od -An -tu1 -j16 -N8 "$icon" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 "x" $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }')
    [ "$got" = "${size}x$size" ] || fail "the ${size}x$size icon is $got"
done
# The manual pages and changelog are the sources, compressed; the rest as written.
for page in tessaline.6 tessaline-replay.6; do
    gzip -dc "$prefix/share/man/man6/$page.gz" | cmp -s - "$packaging/$page" || fail "$page.gz is not $page"
done
gzip -dc "$prefix/share/doc/tessaline/changelog.gz" | cmp -s - "$packaging/changelog" || fail "changelog.gz is not the changelog"
cmp -s "$prefix/share/applications/$id.desktop" "$packaging/$id.desktop" || fail "the menu entry differs"
cmp -s "$prefix/share/metainfo/$id.metainfo.xml" "$packaging/$id.metainfo.xml" || fail "the metadata differs"
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' "$prefix/share/doc/tessaline/copyright" &&
    grep -q '^ Permission is hereby granted' "$prefix/share/doc/tessaline/copyright" ||
    fail "the copyright file is not Debian's form with the licence's text"

# The installed game from a folder that holds no data.
TESSALINE_GAME="$prefix/games/tessaline"
mkdir "$out/elsewhere"
start_display
start_game "$out/elsewhere" -- --data "$data"
wait_for '.scene == 0 and .title.titleFade == 224'
[ "$(jq -s '[.[].messages[]] | length' "$state")" -eq 0 ] || fail "message boxes: $(jq -c '.messages[]' "$state")"
quit_game
echo "ok"
