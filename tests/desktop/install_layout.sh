#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what a desktop needs to
# list Quillmark and open .jjp files with it.
# Usage: install_layout.sh <build dir> <scratch prefix> <program>...
set -uo pipefail

build=$1
prefix=$2
shift 2
failed=0

fail() {
  echo "FAIL: $*" >&2
  failed=1
}

# The width and height stored in a PNG's header chunk.
png_size() {
  local bytes
  bytes=$(od -An -tu1 -j16 -N8 -v "$1" | tr -s ' ' ' ')
  read -r w1 w2 w3 w4 h1 h2 h3 h4 <<<"$bytes"
  echo "$(((w1 << 24) | (w2 << 16) | (w3 << 8) | w4))x$(((h1 << 24) | (h2 << 16) | (h3 << 8) | h4))"
}

rm -rf "$prefix"
env -u DESTDIR cmake --install "$build" --prefix "$prefix" >/dev/null || {
  echo "FAIL: cmake --install into $prefix" >&2
  exit 1
}

for program in "$@"; do
  [ -x "$prefix/bin/$program" ] || fail "bin/$program is not installed"
done

data=$prefix/share
[ -f "$data/applications/quillmark.desktop" ] || fail "the desktop entry is not installed"
[ -f "$data/mime/packages/quillmark.xml" ] || fail "the MIME description is not installed"
for size in 16 32; do
  icon=$data/icons/hicolor/${size}x${size}/apps/quillmark.png
  if [ -f "$icon" ]; then
    [ "$(png_size "$icon")" = "${size}x${size}" ] || fail "$icon is $(png_size "$icon")"
  else
    fail "the ${size} px program icon is not installed"
  fi
done

# The caches refreshed by the install: the type is known and Quillmark opens it.
if command -v update-mime-database >/dev/null; then
  grep -qx '[0-9]*:application/x-quillmark:\*\.jjp' "$data/mime/globs2" 2>/dev/null ||
    fail "the installed MIME database does not know *.jjp"
fi
if command -v update-desktop-database >/dev/null; then
  grep -qx 'application/x-quillmark=quillmark.desktop;' "$data/applications/mimeinfo.cache" 2>/dev/null ||
    fail "the installed desktop database does not open application/x-quillmark with Quillmark"
fi

[ $failed -eq 0 ] && rm -rf "$prefix"
exit $failed
