#!/usr/bin/env bash
# The shipped folder holds exactly the expected files, and the zip holds that folder.
#   check_shipped_folder.sh TREE ZIP_NAME FILE...
set -euo pipefail
tree=$1 zip=$2; shift 2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cmake --install "$tree" --prefix "$dir/folder" --strip >/dev/null
expected=$(printf '%s\n' "$@" | sort)
laid=$(cd "$dir/folder" && find . -type f | sed 's|^\./||' | sort)
if [ "$laid" != "$expected" ]; then
  echo "shipped folder holds:"; echo "$laid"; echo "expected:"; echo "$expected"; exit 1
fi
(cd "$tree" && cpack -B "$dir/pack" >/dev/null)
packed=$(unzip -Z1 "$dir/pack/$zip.zip" | grep -v '/$' | sed "s|^$zip/||" | sort)
if [ "$packed" != "$expected" ]; then
  echo "zip holds:"; echo "$packed"; echo "expected:"; echo "$expected"; exit 1
fi
echo "shipped: $(echo $expected)"
