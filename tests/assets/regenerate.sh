#!/usr/bin/env bash
# The game's data and its generators cannot drift apart: regenerates the
# data into a temporary folder and compares every generated file with the
# committed one, byte for byte.
#
#     regenerate.sh <source tree>
set -euo pipefail
src="${1:?usage: regenerate.sh <source tree>}"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

bash "$src/scripts/assets/make_all.sh" "$tmp/data" >"$tmp/log" 2>&1 || {
    cat "$tmp/log"
    echo "regenerate: a generator failed"
    exit 1
}

status=0
count=0
while IFS= read -r -d '' file; do
    rel="${file#"$tmp/"}"
    count=$((count + 1))
    if [ ! -f "$src/$rel" ]; then
        echo "regenerate: $rel is generated but not in the source tree"
        status=1
    elif ! cmp -s "$file" "$src/$rel"; then
        echo "regenerate: $rel differs from what scripts/assets makes; rerun scripts/assets/make_all.sh and commit"
        status=1
    fi
done < <(find "$tmp/data" -type f -print0)
if [ "$count" -eq 0 ]; then
    echo "regenerate: the generators made no file"
    exit 1
fi
echo "regenerate: $count generated files compared"
exit $status
