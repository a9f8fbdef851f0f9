#!/usr/bin/env bash
# The NSIS installer under wine: cpack makes it; it installs silently (/S)
# under Program Files with a Start-menu entry, the .jjp association and an
# uninstaller; the installed program opens a list given on its command line
# and saves a copy; the uninstaller (/S) takes the files and keys back.
# Usage: installer.sh CPACK CPACK_CONFIG HOST_QMK WORK_DIR
set -euo pipefail
cpack="$1" config="$2" qmk="$3" work="$4"
[ -x "$qmk" ] || { echo "SKIP: no Linux qmk at $qmk (build the default preset first)"; exit 77; }
rm -rf "$work" && mkdir -p "$work"
source "$(dirname "$0")/wine_session.sh"

"$cpack" --config "$config" -B "$work/package" >"$work/cpack.log" 2>&1 || fail "cpack: $(tail -20 "$work/cpack.log")"
installers=("$work"/package/Quillmark-*-setup.exe)
[ -f "${installers[0]}" ] || fail "no Quillmark-<version>-setup.exe in $work/package"
# A 64-bit stub: the PE header's machine field is 0x8664.
pe_header=$(od -An -tu4 -j60 -N4 "${installers[0]}")
[ "$(od -An -tx2 -j$((pe_header + 4)) -N2 "${installers[0]}" | tr -d ' ')" = 8664 ] || fail "the installer is not 64-bit"

start_display
make_prefix
"$wine" "${installers[0]}" /S
/usr/lib/wine/wineserver -w

home="$WINEPREFIX/drive_c/Program Files/Quillmark"
for file in bin/quillmark.exe bin/qmk.exe Uninstall.exe; do
  [ -f "$home/$file" ] || fail "$file is not installed: $(find "$WINEPREFIX/drive_c" -ipath '*quillmark*' | head)"
done
find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs/Quillmark/Quillmark.lnk' | grep -q . ||
  fail "no Start-menu entry"

program='C:\Program Files\Quillmark\bin\quillmark.exe'
classes='HKCU\Software\Classes'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmark'
# Prints the default value of key $1 (empty when the key is missing).
default_value() { "$wine" reg query "$1" /ve 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p'; }
[ "$(default_value "$classes\\.jjp")" = Quillmark.TaskList ] || fail ".jjp is not associated"
[ "$(default_value "$classes\\Quillmark.TaskList\\DefaultIcon")" = "$program,0" ] || fail "no icon for .jjp"
[ "$(default_value "$classes\\Quillmark.TaskList\\shell\\open\\command")" = "\"$program\" \"%1\"" ] ||
  fail "the open command is $(default_value "$classes\\Quillmark.TaskList\\shell\\open\\command")"
"$wine" reg query "$uninstall_key" /v UninstallString >/dev/null 2>&1 || fail "no uninstaller registered"

# The installed program opens a list from its command line and saves it as a copy.
echo '{"tasks": [{"title": "Installed", "children": [{"title": "and opened"}]}]}' >"$work/list.json"
"$qmk" import "$work/list.json" -o "$work/list.jjp"
export QUILLMARK_TEST_SCRIPT="await=$(windows_path "$work/go");save=$(windows_path "$work/copy.jjp");SaveAs1;no;mnuExit"
"$wine" "$program" "$(windows_path "$work/list.jjp")" >"$work/program.log" 2>&1 &
program_pid=$!
wait_for_window "Quillmark 2.1" 120
touch "$work/go"
wait_for_exit "$program_pid" 60 || fail "the program ended with status $?: $(cat "$work/program.log")"
[ -f "$work/copy.jjp" ] || fail "the installed program saved nothing: $(cat "$work/program.log")"
diff <("$qmk" show "$work/list.jjp") <("$qmk" show "$work/copy.jjp") || fail "the copy differs from the list"

"$wine" "$home/Uninstall.exe" /S
/usr/lib/wine/wineserver -w  # the uninstaller runs on from a copy of itself
[ ! -e "$home/bin" ] && [ ! -e "$home/Uninstall.exe" ] || fail "files are left: $(find "$home")"
find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs/Quillmark*' | grep -q . && fail "the Start-menu entry is left"
for key in "$classes\\.jjp" "$classes\\Quillmark.TaskList" "$uninstall_key"; do
  "$wine" reg query "$key" >/dev/null 2>&1 && fail "$key is left"
done
echo "installed, opened, saved and uninstalled under wine"
