#!/usr/bin/env bash
# Under a real X server and window manager (Xvfb and openbox), checks that the
# keyboard focus comes back to the main window when a modal dialog or box
# closes: the about box, the "Confirm" boxes, the open and the save dialogs.
# The main window first loses its taskbar entry, as it does once shown from the
# notification icon: openbox then focuses no window by itself, and the keys
# typed next would go nowhere.
# Usage: focus_after_dialogs.sh <quillmark program> <qmk program>
# Exits 77 (skipped) when Xvfb, openbox, xdotool, wmctrl or xprop is missing.
set -uo pipefail

program=$1
qmk=$2
for tool in Xvfb openbox xdotool wmctrl xprop; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Polls a command every 50 ms for up to 10 s (xdotool's own --sync polls
# every half second).
wait_for() {
  for _ in $(seq 200); do
    "$@" && return 0
    sleep 0.05
  done
  return 1
}

# The server picks a free display itself, so parallel runs never collide.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=:$(head -1 "$work/display")
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_for wm_running || fail "openbox did not start: $(cat "$work/openbox.log")"

echo '{"tasks": [{"title": "one"}, {"title": "two"}]}' | "$qmk" import - -o "$work/list.jjp" ||
  fail "qmk could not write the list"
QT_QPA_PLATFORM=xcb XDG_STATE_HOME="$work/state" XDG_CONFIG_HOME="$work/config" \
  "$program" "$work/list.jjp" 2>"$work/program.log" &
pids+=($!)

main_window() { xdotool search --name '^Quillmark 2.1$' 2>/dev/null | head -1; }
main_window_shown() { [ -n "$(main_window)" ]; }
wait_for main_window_shown || fail "the main window did not appear: $(cat "$work/program.log")"
window=$(main_window)
focused_name() { xdotool getwindowfocus getwindowname 2>/dev/null; }
has_focus() { [ "$(focused_name)" = "$1" ]; }
wait_for has_focus "Quillmark 2.1" || fail "the main window did not take the focus at start"

wmctrl -i -r "$window" -b add,skip_taskbar
skips_taskbar() { xprop -id "$window" _NET_WM_STATE | grep -q SKIP_TASKBAR; }
wait_for skips_taskbar || fail "the main window kept its taskbar entry"

# Each case: a key, and the window that must then have the focus; the last
# step of each closes a box and must leave the main window focused, so that
# the next case's shortcut reaches it.
cases=(
  "ctrl+t:About|Escape:Quillmark 2.1"
  "ctrl+p:Confirm|Return:Quillmark 2.1"
  "ctrl+o:Confirm|alt+n:Open|Escape:Quillmark 2.1"
  "ctrl+a:Save As|Escape:Quillmark 2.1"
  "ctrl+t:About|Escape:Quillmark 2.1"
)
for case in "${cases[@]}"; do
  IFS='|' read -ra steps <<<"$case"
  for step in "${steps[@]}"; do
    key=${step%%:*}
    expected=${step#*:}
    xdotool key "$key"
    wait_for has_focus "$expected" ||
      fail "after $key in \"${case}\": the focus is on \"$(focused_name)\", not \"$expected\""
  done
done
echo "the focus came back to the main window after each box and dialog"
