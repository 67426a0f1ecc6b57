#!/bin/sh
# Installs the Debian packages the build, the game, the tests, the fuzz
# build (clang with libFuzzer), the package's checks and the Windows build
# (the MinGW-w64 cross compiler, its zlib, GoogleTest's sources, Wine) need.
# Run as root it installs what is missing (one apt-get update, then one
# apt-get install); run as anyone else it prints the command and stops.
set -eu

packages="cmake ninja-build g++ make pkg-config
libsdl2-dev libsdl2-mixer-dev zlib1g-dev timgm6mb-soundfont
libgtest-dev libgmock-dev libbenchmark-dev
xvfb xdotool x11-apps x11-utils jq imagemagick sox fluidsynth valgrind
clang libclang-rt-14-dev
dpkg-dev lintian desktop-file-utils appstream man-db
g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest wine64"

missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

[ -z "$missing" ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "These packages are missing:$missing" >&2
    echo "Install them with:" >&2
    echo "  sudo apt-get update && sudo apt-get install -y$missing" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update
# shellcheck disable=SC2086
apt-get install -y --no-install-recommends $missing
