#!/bin/sh
# One Wine session for a whole test run, in $WINEPREFIX.
#   wine_session.sh start WINE   creates the prefix on first use (about 10 s) and starts one
#                                persistent wine server, so that each later start of a Windows
#                                program takes a tenth of a second;
#   wine_session.sh stop WINE    ends that server.
# The server is detached from the caller's pipes: CTest would otherwise wait for it to close them.
set -eu
wine=$2
wineserver=$(dirname "$wine")/wineserver
case "$1" in
  start)
    mkdir -p "$WINEPREFIX"
    setsid "$wineserver" -p </dev/null >/dev/null 2>&1 &
    "$wine" cmd /c exit 0 </dev/null >/dev/null 2>&1
    ;;
  stop)
    "$wineserver" -k </dev/null >/dev/null 2>&1 || true
    ;;
esac
