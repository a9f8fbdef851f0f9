#!/usr/bin/env bash
# The real quillmark.exe under wine on an X display: opens the list named on
# its command line, shows its window, saves an added task through File > Save
# and ends through File > Exit; the build machine's qmk then reads the file.
# Usage: program_smoke.sh QUILLMARK_EXE HOST_QMK WORK_DIR
set -euo pipefail
program="$1" qmk="$2" work="$3"
[ -x "$qmk" ] || { echo "SKIP: no Linux qmk at $qmk (build the default preset first)"; exit 77; }
rm -rf "$work" && mkdir -p "$work"
source "$(dirname "$0")/wine_session.sh"
start_display
make_prefix

echo '{"tasks": [{"title": "Plan", "children": [{"title": "Call"}]}, {"title": "Shop"}]}' >"$work/list.json"
"$qmk" import "$work/list.json" -o "$work/list.jjp"

# The script inserts a task, names it, saves and exits, but only once this
# side has seen the window. A list opened from the command line has no file
# name yet, so Save asks for one: the same file, replaced. Should the close ask
# to save (the view's first focus marks the list modified), No answers.
list="$(windows_path "$work/list.jjp")"
export QUILLMARK_TEST_SCRIPT="await=$(windows_path "$work/go");mnuInsert;title=Added under wine;save=$list;yes;mnuSave;no;mnuExit"
"$wine" "$program" "$list" >"$work/program.log" 2>&1 &
program_pid=$!
wait_for_window "Quillmark 2.1" 120
touch "$work/go"
wait_for_exit "$program_pid" 60 || fail "the program ended with status $?: $(cat "$work/program.log")"
if grep -E '^(error|unknown step):' "$work/program.log"; then fail "the program complained"; fi

"$qmk" check "$work/list.jjp"
"$qmk" show "$work/list.jjp" >"$work/saved.txt"
for title in Plan Call Shop "Added under wine"; do
  grep -q "\] $title\$" "$work/saved.txt" || fail "\"$title\" is not in the saved list: $(cat "$work/saved.txt")"
done
echo "quillmark.exe opened, saved and ended under wine"
