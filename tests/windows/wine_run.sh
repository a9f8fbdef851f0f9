#!/usr/bin/env bash
# The windows preset's emulator: runs one Windows test program under wine
# (the preset sets WINEPREFIX and the rest of the environment).
# - One wine server stays up 30 s past its last program for all the tests:
#   started by each test's wine, one could end just as the next test
#   connected to it ("recvmsg: Connection reset by peer").
# - A new server's system processes start with its first program and keep
#   that program's output open for as long as they run: a test that reads a
#   program's output would wait for them. A program with no output starts
#   them first, under a lock, so no test's program does.
set -u
mkdir -p "$WINEPREFIX"
exec 9>"$WINEPREFIX/.quillmark-start.lock"
flock 9
if /usr/lib/wine/wineserver -p30 </dev/null >/dev/null 2>&1; then  # 2: one is running
  /usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1 || true
fi
flock -u 9
exec 9>&-
exec /usr/lib/wine/wine64 "$@"
