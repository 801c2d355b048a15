#!/usr/bin/env bash
# The checked-in artwork is exactly what its script draws: the same files, byte for byte,
# and no file beside the script that it does not draw.
#   check_artwork.sh PYTHON RES_DIR WORK_DIR
set -euo pipefail
python=$1 res=$2 work=$3
rm -rf "$work" && mkdir -p "$work"
"$python" "$res/make_art.py" "$work"
drawn=$(cd "$work" && find . -maxdepth 1 -type f | sed 's|^\./||' | sort)
held=$(cd "$res" && find . -maxdepth 1 -type f ! -name make_art.py | sed 's|^\./||' | sort)
[ -n "$drawn" ] || { echo "the script drew nothing"; exit 1; }
lines() { [ -z "$1" ] || printf '%s\n' "$1"; }
status=0
while read -r name; do
  echo "$name is checked in but the script does not draw it"; status=1
done < <(comm -13 <(lines "$drawn") <(lines "$held"))
while read -r name; do
  echo "the script draws $name, which is not checked in"; status=1
done < <(comm -23 <(lines "$drawn") <(lines "$held"))
while read -r name; do
  cmp "$work/$name" "$res/$name" || status=1
done < <(comm -12 <(lines "$drawn") <(lines "$held"))
[ "$status" -eq 0 ] && echo "$(echo "$drawn" | wc -l) images as drawn"
exit $status
