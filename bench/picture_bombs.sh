#!/usr/bin/env bash
# Time and peak memory of zelvora-make on each file of tests/regressions/
# (tiny files that claim huge pictures) and on a real 100-megapixel photo,
# one picture per gallery. The bombs should be refused in well under 0.5 s
# and 256 MiB; the photo must still load and get its thumbnail.
#   bench/picture_bombs.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?usage: bench/picture_bombs.sh BUILD_DIR}" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
[ -x /usr/bin/time ] || { echo "/usr/bin/time missing: apt-get install time" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/photo"
"$build/zelvora-test-pictures" jpeg 12240 8160 "$work/photo/photo100mp.jpg" 1

measure() {  # measure FILE
  local name folder
  name=$(basename "$1")
  folder="$work/in-$name"
  mkdir -p "$folder"
  cp "$1" "$folder/"
  /usr/bin/time -f "%e %M" -o "$work/time" \
    "$build/zelvora-make" --quiet --folder "$folder" "$work/out-$name" > /dev/null || true
  read -r seconds kilobytes < "$work/time"
  local result="refused"
  [ -n "$(ls -A "$work/out-$name/thumbnails" 2>/dev/null)" ] && result="loaded"
  printf '%-34s %9s bytes  %6.2f s  %6d MiB  %s\n' "$name" "$(stat -c %s "$1")" \
    "$seconds" $((kilobytes / 1024)) "$result"
}

for file in "$root"/tests/regressions/*; do measure "$file"; done
measure "$work/photo/photo100mp.jpg"
