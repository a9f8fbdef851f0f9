#!/usr/bin/env bash
# The windows preset's emulator: runs one Windows test program under wine
# (the preset sets WINEPREFIX and the rest of the environment). One wine
# server stays up 30 s past its last program for all the tests: started by
# each test's wine, one could end just as the next test connected to it,
# and that test failed with "recvmsg: Connection reset by peer".
set -u
mkdir -p "$WINEPREFIX"
/usr/lib/wine/wineserver -p30 </dev/null >/dev/null 2>&1 || true  # 2: already running
exec /usr/lib/wine/wine64 "$@"
