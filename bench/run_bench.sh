#!/usr/bin/env bash
# Times a whole gallery run over photo-like 12-megapixel JPEGs against the
# plain full decode of the same files with djpeg.
#   bench/run_bench.sh BUILD_DIR [PICTURES]      (default 8 pictures)
set -euo pipefail
build=$(cd "${1:?usage: bench/run_bench.sh BUILD_DIR [PICTURES]}" && pwd)
count=${2:-8}
command -v djpeg > /dev/null || { echo "djpeg missing: apt-get install libjpeg-turbo-progs" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus"
for i in $(seq 1 "$count"); do
  "$build/zelvora-test-pictures" jpeg 4000 3000 "$work/corpus/photo$i.jpg" "$i"
done

now() { date +%s.%N; }
start=$(now)
"$build/zelvora-make" --quiet --folder "$work/corpus" "$work/gallery" > /dev/null
make_seconds=$(awk -v a="$(now)" -v b="$start" 'BEGIN { print a - b }')

start=$(now)
for f in "$work/corpus"/*.jpg; do djpeg -outfile /dev/null "$f"; done
djpeg_seconds=$(awk -v a="$(now)" -v b="$start" 'BEGIN { print a - b }')

printf 'pictures:          %d of 4000 x 3000 (%s MB of JPEG)\n' "$count" \
  "$(du -sm "$work/corpus" | cut -f1)"
awk -v m="$make_seconds" -v d="$djpeg_seconds" -v n="$count" 'BEGIN {
  printf "zelvora-make:      %.3f s per picture\n", m / n
  printf "djpeg full decode: %.3f s per picture\n", d / n
  printf "ratio:             %.2f\n", m / d
}'
