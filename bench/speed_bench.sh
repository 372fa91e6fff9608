#!/usr/bin/env bash
# How close a whole gallery run comes to decoding its pictures and nothing
# else: over 40 photo-like JPEGs of 12 megapixels and 200 of 2 megapixels,
# alternates djpeg over each set (every file decoded, one after another)
# with zelvora-make over it (default options, --jobs 1 and --jobs 2), and
# prints per set the median ratio of wall times and the peak memory.
#   bench/speed_bench.sh BUILD_DIR [ROUNDS]        (default 3 rounds)
# The pictures are made once and kept in BUILD_DIR/bench-pictures (or in
# $ZELVORA_BENCH_PICTURES). Needs djpeg (libjpeg-turbo-progs) and GNU time.
set -euo pipefail
build=$(cd "${1:?usage: bench/speed_bench.sh BUILD_DIR [ROUNDS]}" && pwd)
rounds=${2:-3}
source "$(dirname "$0")/../scripts/lib/common.sh"
ensure_packages "${ZELVORA_BENCH_PACKAGES[@]}"
pictures=${ZELVORA_BENCH_PICTURES:-$build/bench-pictures}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# make_set NAME COUNT WIDTH HEIGHT: the pictures, unless they are there.
make_set() {
  local folder="$pictures/$1" count=$2 width=$3 height=$4 i
  mkdir -p "$folder"
  for i in $(seq 1 "$count"); do
    local file; file=$(printf '%s/photo%03d.jpg' "$folder" "$i")
    [ -s "$file" ] || "$build/zelvora-test-pictures" jpeg "$width" "$height" "$file" "$i"
  done
}
make_set 12mp 40 4000 3000
make_set 2mp 200 1732 1155

now() { date +%s.%N; }
# Seconds a command takes; its peak memory (KiB) and processor seconds
# (user and system) go to $work/peak and $work/cpu.
timed() {
  local start; start=$(now)
  /usr/bin/time -f '%M %U %S' -o "$work/usage" "$@" > /dev/null
  awk -v a="$(now)" -v b="$start" 'BEGIN { printf "%.4f", a - b }'
  tail -1 "$work/usage" | cut -d' ' -f1 > "$work/peak"
  tail -1 "$work/usage" | awk '{ print $2 + $3 }' > "$work/cpu"
}
djpeg_all() { for f in "$1"/*.jpg; do djpeg -outfile /dev/null "$f"; done; }
export -f djpeg_all

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"
declare -A ratios cpus peaks
for round in $(seq 1 "$rounds"); do
  for set in 12mp 2mp; do
    folder="$pictures/$set"
    d=$(timed bash -c 'djpeg_all "$1"' _ "$folder")
    dcpu=$(cat "$work/cpu")
    for jobs in 1 2; do
      rm -rf "$work/gallery"
      m=$(timed "$build/zelvora-make" --quiet --jobs "$jobs" --folder "$folder" "$work/gallery")
      peak=$(cat "$work/peak")
      mcpu=$(cat "$work/cpu")
      ratios[$set,$jobs]+="$(awk -v m="$m" -v d="$d" 'BEGIN { printf "%.3f", m / d }') "
      cpus[$set,$jobs]+="$(awk -v m="$mcpu" -v d="$dcpu" 'BEGIN { printf "%.3f", m / d }') "
      [ "${peaks[$set,$jobs]:-0}" -ge "$peak" ] || peaks[$set,$jobs]=$peak
      printf 'round %d %-4s djpeg %6.2f s (cpu %6.2f)  --jobs %d %6.2f s (cpu %6.2f)  %4d MiB\n' \
        "$round" "$set" "$d" "$dcpu" "$jobs" "$m" "$mcpu" $((peak / 1024))
    done
  done
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"

median() { tr ' ' '\n' | grep . | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
echo
echo "Median wall time as a multiple of djpeg's (processor time, user + system, in brackets):"
echo
echo "| set | --jobs 1 | --jobs 2 | peak memory (jobs 1 / 2) |"
echo "|---|---|---|---|"
for set in 12mp 2mp; do
  label=$([ "$set" = 12mp ] && echo "12 MP x 40" || echo "2 MP x 200")
  printf '| %s | %s x djpeg (cpu %s) | %s x djpeg (cpu %s) | %d / %d MiB |\n' "$label" \
    "$(echo "${ratios[$set,1]}" | median)" "$(echo "${cpus[$set,1]}" | median)" \
    "$(echo "${ratios[$set,2]}" | median)" "$(echo "${cpus[$set,2]}" | median)" \
    $((peaks[$set,1] / 1024)) $((peaks[$set,2] / 1024))
done
