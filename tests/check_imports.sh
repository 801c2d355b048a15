#!/usr/bin/env bash
# Every shipped binary exists and imports only Windows system DLLs and the system's own vennix.dll.
set -euo pipefail
objdump=$1; shift
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|wininet|winhttp|msvcrt|shlwapi|version|ws2_32|vennix)\.dll$'
status=0
found=0
for bin in "$@"; do
  if [ ! -f "$bin" ]; then
    echo "$bin is missing"; status=1; continue
  fi
  if ! headers=$("$objdump" -p "$bin"); then
    echo "$(basename "$bin") is not a readable image"; status=1; continue
  fi
  found=$((found + 1))
  while read -r dll; do
    lower=$(printf '%s' "$dll" | tr 'A-Z' 'a-z')
    if ! [[ $lower =~ $allowed ]]; then
      echo "$(basename "$bin") imports $dll"
      status=1
    fi
  done < <(sed -n 's/^\s*DLL Name: //p' <<<"$headers")
done
[ "$found" -gt 0 ] || { echo "no binaries to check"; exit 1; }
echo "$found of $# binaries checked"
exit $status
