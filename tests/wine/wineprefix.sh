#!/bin/sh
# wineprefix.sh boot|stop, with WINEPREFIX and WINE (the loader) set: makes a fresh Wine
# prefix, or ends its server.
# A boot without a display must end its server: the desktop process it leaves behind would
# make every later window fail ("no driver could be loaded"). With DISPLAY set, the boot
# takes that display and windows started later open on it.
set -eu
: "${WINEPREFIX:?}" "${WINE:?}"
case "${1:-}" in
boot)
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    "$WINE" wineboot -i
    if [ -z "${DISPLAY:-}" ]; then
        wineserver -k 2>/dev/null || true
    fi
    ;;
stop)
    wineserver -k 2>/dev/null || true
    ;;
*)
    echo "usage: $0 boot|stop" >&2
    exit 2
    ;;
esac
