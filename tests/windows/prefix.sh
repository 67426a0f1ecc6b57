#!/bin/sh
# The Wine prefix the Windows tests share, kept in the build folder.
#   prefix.sh start PREFIX   makes it on first use, then keeps one Wine
#                            server running for the tests that follow
#   prefix.sh stop PREFIX    ends that server
set -eu
command=$1
export WINEPREFIX="$2" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
case $command in
start)
    # Wine's server and the services it starts outlive this script: none of
    # them may hold the test's output open, or the test never ends. What
    # they say goes to a log, shown if the start fails.
    log="$WINEPREFIX.log"
    mkdir -p "$(dirname "$WINEPREFIX")"
    if ! {
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            # Without 32-bit Wine, wineboot reports the 32-bit half it could
            # not set up as a failure; the prefix is whole for 64-bit programs.
            /usr/lib/wine/wine64 wineboot --init || true
            /usr/lib/wine/wineserver -w  # the registry is written when the server ends
            [ -f "$WINEPREFIX/system.reg" ] || { echo "no Wine prefix was made in $WINEPREFIX"; exit 1; }
        fi
        /usr/lib/wine/wineserver -p
        # A first program through the running server: the prefix is brought
        # up to date before the tests start side by side.
        /usr/lib/wine/wine64 cmd /c exit 0
    } < /dev/null > "$log" 2>&1; then
        cat "$log" >&2
        exit 1
    fi
    ;;
stop)
    /usr/lib/wine/wineserver -k || true
    ;;
*)
    echo "prefix.sh: start or stop, not $command" >&2
    exit 2
    ;;
esac
