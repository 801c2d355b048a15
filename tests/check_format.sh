#!/usr/bin/env bash
# Every shipped binary is a 32-bit x86 PE image without a symbol table, whose headers ask
# for Windows Vista (subsystem version 6.0) or later.
set -euo pipefail
objdump=$1; shift
status=0
for bin in "$@"; do
  name=$(basename "$bin")
  [ -f "$bin" ] || { echo "$bin is missing"; status=1; continue; }
  head=$("$objdump" -f "$bin")
  grep -q 'file format pei-i386' <<<"$head" || { echo "$name is not a 32-bit PE image"; status=1; }
  grep -q '^architecture: i386' <<<"$head" || { echo "$name is not built for x86"; status=1; }
  version=$("$objdump" -p "$bin" | awk '$1 == "MajorSubsystemVersion" { major = $2 }
                                       $1 == "MinorSubsystemVersion" { minor = $2 }
                                       END { print major "." minor }')
  [ "$version" = 6.0 ] || { echo "$name asks for subsystem version $version, not 6.0"; status=1; }
  if "$objdump" -t "$bin" | grep -q '^\[ *[0-9]*\]'; then
    echo "$name still carries its symbol table"; status=1
  fi
done
[ "$status" -eq 0 ] && echo "$# binaries are stripped 32-bit x86 PE images for subsystem version 6.0"
exit $status
