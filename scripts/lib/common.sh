# Shared by scripts/test and scripts/run: what Zelvora needs from Debian 12,
# and how to install what is missing.

ZELVORA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

ZELVORA_BUILD_PACKAGES=(cmake g++ ninja-build pkg-config
  libjpeg-dev libgif-dev nlohmann-json3-dev libgtest-dev libgmock-dev
  libbenchmark-dev qt6-base-dev qt6-base-dev-tools libgl-dev ccache
  help2man libexif-dev fonts-dejavu-core)
# The fuzz targets (fuzz/): clang with libFuzzer and its sanitizers.
ZELVORA_FUZZ_PACKAGES=(clang libclang-rt-14-dev)
ZELVORA_FUZZ_TARGETS=(decode_jpeg decode_bitmaps options_file list_file language_file
  settings_store html_url name_mask)
# bench/speed_bench.sh: djpeg to compare with, GNU time for the peak memory.
ZELVORA_BENCH_PACKAGES=(libjpeg-turbo-progs time)
# The browser check of finished galleries. Node.js and npm count as present
# when their commands are (the machine may carry its own Node.js build, which
# Debian's npm package would conflict with).
ZELVORA_BROWSER_PACKAGES=(chromium)
command -v node >/dev/null 2>&1 || ZELVORA_BROWSER_PACKAGES+=(nodejs)
command -v npm >/dev/null 2>&1 || ZELVORA_BROWSER_PACKAGES+=(npm)

# ensure_packages PKG... : installs the packages that are not installed yet.
ensure_packages() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' \
      || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Install them with:" >&2
    echo "  sudo apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# use_ccache : ZELVORA_LAUNCHER gets the CMake options that put ccache in
# front of the compilers, when it is there. Paths are taken relative to the
# checkout and the build folder is left out of the hash, so a fresh clone in
# another folder still finds what an earlier build compiled.
use_ccache() {
  ZELVORA_LAUNCHER=()
  if command -v ccache >/dev/null 2>&1; then
    export CCACHE_BASEDIR="$ZELVORA_ROOT" CCACHE_NOHASHDIR=true
    ZELVORA_LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  fi
}

# configure_build_dir DIR [cmake options...] : configures only.
configure_build_dir() {
  local dir=$1; shift
  use_ccache
  cmake -S "$ZELVORA_ROOT" -B "$ZELVORA_ROOT/$dir" -G Ninja "${ZELVORA_LAUNCHER[@]}" "$@" >/dev/null
}

# configure_and_build DIR [cmake options...]
configure_and_build() {
  configure_build_dir "$@"
  cmake --build "$ZELVORA_ROOT/$1" --parallel "$(nproc)"
}

# run_fuzzers SECONDS : builds fuzz/ with clang into build-fuzz/, writes the
# seed corpora and runs every target for SECONDS over its corpus. A crash
# stops with the input kept in build-fuzz/artifacts/; put it into
# tests/regressions/ once it is mended.
run_fuzzers() {
  local seconds=$1
  local dir="$ZELVORA_ROOT/build-fuzz"
  use_ccache
  CC=clang CXX=clang++ cmake -S "$ZELVORA_ROOT/fuzz" -B "$dir" -G Ninja "${ZELVORA_LAUNCHER[@]}" >/dev/null
  cmake --build "$dir" --parallel "$(nproc)" --target fuzzers
  rm -rf "$dir/seeds"
  "$dir/make_seeds" "$dir/seeds"
  mkdir -p "$dir/artifacts"
  local target dict
  for target in "${ZELVORA_FUZZ_TARGETS[@]}"; do
    mkdir -p "$dir/corpus/$target"
    dict=()
    [ -f "$ZELVORA_ROOT/fuzz/$target.dict" ] && dict=(-dict="$ZELVORA_ROOT/fuzz/$target.dict")
    echo "-- $target (${seconds} s)"
    "$dir/fuzz_$target" "${dict[@]}" -max_total_time="$seconds" -timeout=10 \
      -rss_limit_mb=2048 -artifact_prefix="$dir/artifacts/$target-" \
      "$dir/corpus/$target" "$dir/seeds/$target" 2>"$dir/$target.log" \
      || { tail -n 40 "$dir/$target.log" >&2; return 1; }
    grep -E '^#[0-9]+[[:space:]]+DONE' "$dir/$target.log" || true
  done
}
