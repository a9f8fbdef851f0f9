# Sourced by the tests that run the real Windows program: a wine prefix and an
# X display (Xvfb) of their own under the folder $work, both ended on exit,
# so that the tests run side by side and never see a user's own.
wine=/usr/lib/wine/wine64
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8

xvfb_pid=""
end_session() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}
trap end_session EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Xvfb picks a free display itself and names it on the given descriptor.
start_display() {
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
  done
  [ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  export DISPLAY=":$(cat "$work/display")"
}

# A new prefix prints its creation once; made before anything is timed.
make_prefix() {
  "$wine" wineboot --init >"$work/wineboot.log" 2>&1 || fail "wineboot: $(cat "$work/wineboot.log")"
  /usr/lib/wine/wineserver -w
}

windows_path() { echo "Z:${1//\//\\}"; }

# Waits (up to $2 seconds) for a top-level window whose title starts with $1.
wait_for_window() {
  for _ in $(seq $(($2 * 5))); do
    xwininfo -root -tree 2>/dev/null | grep -q "\"$1" && return 0
    sleep 0.2
  done
  fail "no window \"$1...\" within $2 s"
}

# Waits (up to $2 seconds) for process $1 to end; its exit status becomes ours.
wait_for_exit() {
  for _ in $(seq $(($2 * 5))); do
    kill -0 "$1" 2>/dev/null || { wait "$1"; return; }
    sleep 0.2
  done
  fail "the program did not end within $2 s"
}
