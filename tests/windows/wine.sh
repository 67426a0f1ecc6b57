#!/bin/sh
# Runs a Windows program under Wine in the build's own prefix:
#   wine.sh PREFIX PROGRAM.exe [ARGUMENTS...]
# Wine's own chatter is left out (set WINEDEBUG to see it), and the .NET and
# HTML engines it would offer to download are switched off.
set -eu
prefix=$1
shift
export WINEPREFIX="$prefix" WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec /usr/lib/wine/wine64 "$@"
