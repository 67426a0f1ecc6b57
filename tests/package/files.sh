#!/bin/sh
# What a desktop reads of the game, checked by the desktop's own tools: the
# menu entry, the AppStream metadata (offline) and the manual pages, each
# clean of errors and warnings; and every file that names the release
# names the project's version, so a new version cannot leave one behind.
# Arguments: the packaging folder and the project's version.
set -eu
dir=$1 version=$2
id=org.tessaline.Tessaline
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

said=$(desktop-file-validate "$dir/$id.desktop" 2>&1) || fail "desktop-file-validate refuses the menu entry"
[ -z "$said" ] || fail "desktop-file-validate: $said"

said=$(appstreamcli validate --no-net "$dir/$id.metainfo.xml" 2>&1) || fail "appstreamcli refuses the metadata: $said"
echo "$said" | grep -E '^[EW]:' && fail "appstreamcli: errors or warnings above"

for page in tessaline.6 tessaline-replay.6; do
    said=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$dir/$page" 2>&1 >/dev/null) || fail "man cannot format $page"
    [ -z "$said" ] || fail "$page: $said"
    grep -q "^\.TH .* \"Tessaline $version\"" "$dir/$page" || fail "$page does not name Tessaline $version"
done

# The menu entry, the icons and the metadata know the game by one id.
grep -qx "Icon=$id" "$dir/$id.desktop" || fail "the menu entry's icon is not $id"
grep -q "<id>$id</id>" "$dir/$id.metainfo.xml" || fail "the metadata's id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$dir/$id.metainfo.xml" ||
    fail "the metadata does not launch $id.desktop"

# The newest release in the metadata and the changelog is this version.
first_release=$(grep -o '<release version="[^"]*"' "$dir/$id.metainfo.xml" | head -n 1)
[ "$first_release" = "<release version=\"$version\"" ] || fail "the metadata's newest release is not $version"
[ "$(dpkg-parsechangelog -l "$dir/changelog" -S Version)" = "$version" ] ||
    fail "the changelog's newest entry is not $version"

[ "$failed" -eq 0 ] && echo "ok"
exit "$failed"
