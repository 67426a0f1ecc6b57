#!/bin/sh
# The Debian package as a player gets it, run as root (CI, `make
# test-package`): lintian finds no error in it, apt-get installs it, the
# game the menu entry starts (its Exec line on a Debian user's PATH) shows
# its title from a folder with no data in it and quits with status 0, and
# apt-get removes every file again. A tessaline installed before is left
# alone: the check refuses to run.
# Argument: the build folder holding the package.
set -eu
build=$1
[ "$(id -u)" -eq 0 ] || { echo "deb.sh installs a package: run it as root" >&2; exit 1; }
set -- "$build"/tessaline_*_*.deb
[ $# -eq 1 ] && [ -f "$1" ] || { echo "no single tessaline_*.deb in $build: $*" >&2; exit 1; }
deb=$(realpath "$1")
installed() { dpkg-query -W -f='${Status}' tessaline 2>/dev/null | grep -q 'install ok installed'; }
if installed; then echo "tessaline is installed already; remove it first" >&2; exit 1; fi

# Both are set below; the game is started from a scratch folder.
TESSALINE_GAME=later TESSALINE_DATA_DIR=later
. "$(dirname "$0")/../e2e/lib/game.sh"
trap 'installed && apt-get remove -y tessaline >/dev/null 2>&1; cleanup' EXIT

lintian --fail-on error "$deb" >"$out/lintian.log" 2>&1 || fail "lintian: $(cat "$out/lintian.log")"
sed 's/^/lintian: /' "$out/lintian.log"

export DEBIAN_FRONTEND=noninteractive
apt-get install -y "$deb" >"$out/apt.log" 2>&1 || fail "apt-get install: $(cat "$out/apt.log")"
installed || fail "apt-get installed no tessaline"
dpkg -L tessaline | while read -r path; do [ -d "$path" ] || echo "$path"; done >"$out/files"

entry=/usr/share/applications/org.tessaline.Tessaline.desktop
# The entry's own Exec line, not those of its actions further down.
command=$(sed -n '/^\[Desktop Entry\]/,/^\[/s/^Exec=//p' "$entry")
TESSALINE_GAME=$(PATH=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games command -v "$command") ||
    fail "the menu's command $command is not on a player's PATH"
[ "$TESSALINE_GAME" = /usr/games/tessaline ] || fail "the menu starts $TESSALINE_GAME, not /usr/games/tessaline"

mkdir "$out/elsewhere"
start_display
start_game "$out/elsewhere"
wait_for '.scene == 0 and .title.titleFade == 224'
[ "$(jq -s '[.[].messages[]] | length' "$state")" -eq 0 ] || fail "message boxes: $(jq -c '.messages[]' "$state")"
quit_game

apt-get remove -y tessaline >"$out/apt.log" 2>&1 || fail "apt-get remove: $(cat "$out/apt.log")"
installed && fail "tessaline is still installed"
while read -r path; do
    [ ! -e "$path" ] || fail "$path is left after the removal"
done <"$out/files"
[ ! -e /usr/share/games/tessaline ] || fail "the data folder is left after the removal"
echo "ok"
