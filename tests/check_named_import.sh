#!/usr/bin/env bash
# A binary imports each named function of a DLL by its name (not by ordinal), bound at load.
#   check_named_import.sh OBJDUMP BINARY DLL FUNCTION...
set -euo pipefail
objdump=$1 bin=$2 dll=$3; shift 3
[ -f "$bin" ] || { echo "$bin is missing"; exit 1; }
table=$("$objdump" -p "$bin" | awk -v dll="$dll" '
  /^[ \t]*DLL Name: / { inside = (tolower($3) == tolower(dll)); next }
  inside && NF == 0 { inside = 0 }
  inside { print }')
[ -n "$table" ] || { echo "$(basename "$bin") does not import $dll"; exit 1; }
status=0
for name in "$@"; do
  # Rows of the hint/name table: "<vma> <hint> <name>"; an ordinal import has no name.
  if ! awk -v n="$name" '$NF == n && NF >= 3 { found = 1 } END { exit !found }' <<<"$table"; then
    echo "$(basename "$bin") does not import $name from $dll by name"; status=1
  fi
done
[ "$status" -eq 0 ] && echo "$(basename "$bin") imports $* from $dll by name"
exit $status
