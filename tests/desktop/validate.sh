#!/usr/bin/env bash
# Checks the desktop entry and the MIME type description with the desktop's own
# tools, where they are installed. Usage: validate.sh <resources dir>
# Exits 77 (skipped) when none of the tools is present.
set -uo pipefail

resources=$1
entry=$resources/quillmark.desktop
mime=$resources/quillmark-mime.xml
mime_type=application/x-quillmark
checked=0
failed=0

fail() {
  echo "FAIL: $*" >&2
  failed=1
}

# The entry and the MIME description must name the same type, or file managers
# would not offer Quillmark for .jjp files.
grep -qx "MimeType=$mime_type;" "$entry" || fail "desktop entry does not declare $mime_type"
grep -q "type=\"$mime_type\"" "$mime" || fail "MIME description does not define $mime_type"
grep -q '^Exec=quillmark %f$' "$entry" || fail "desktop entry does not pass the file as %f"

if command -v desktop-file-validate >/dev/null; then
  checked=1
  output=$(desktop-file-validate "$entry" 2>&1)
  status=$?
  [ -n "$output" ] && echo "$output"
  if [ $status -ne 0 ] || grep -qE '(error|warning):' <<<"$output"; then
    fail "desktop-file-validate rejects $entry"
  fi
fi

if command -v xmllint >/dev/null; then
  checked=1
  xmllint --noout "$mime" || fail "$mime is not well-formed XML"
  for schema in /usr/share/shared-mime-info/shared-mime-info.rng /usr/share/xml/shared-mime-info/shared-mime-info.rng; do
    if [ -f "$schema" ]; then
      xmllint --noout --relaxng "$schema" "$mime" || fail "$mime does not match $schema"
    fi
  done
fi

# Compiling the description into a scratch database shows what desktops will
# actually see: the glob and the magic of the task-list header.
if command -v update-mime-database >/dev/null; then
  checked=1
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  mkdir -p "$scratch/mime/packages"
  cp "$mime" "$scratch/mime/packages/quillmark.xml"
  output=$(XDG_DATA_DIRS=$scratch update-mime-database "$scratch/mime" 2>&1)
  status=$?
  [ -n "$output" ] && echo "$output"
  if [ $status -ne 0 ] || grep -qi 'error\|warning\|invalid' <<<"$output"; then
    fail "update-mime-database complains about $mime"
  fi
  grep -qx "[0-9]*:$mime_type:\*\.jjp" "$scratch/mime/globs2" 2>/dev/null || fail "*.jjp is not mapped to $mime_type"
  # 0xFF, 0x0A, 0x00, "TTREE", 0x00: the first bytes of every task list.
  compiled=$(od -An -tx1 -v "$scratch/mime/magic" 2>/dev/null | tr -d ' \n')
  [[ $compiled == *ff0a00545452454500* ]] || fail "the task-list header is not in the compiled magic"
  grep -qx "$mime_type:quillmark" "$scratch/mime/icons" 2>/dev/null || fail "$mime_type has no quillmark icon"
fi

if [ $checked -eq 0 ]; then
  echo "desktop-file-validate, xmllint and update-mime-database are all missing: skipped"
  exit 77
fi
exit $failed
