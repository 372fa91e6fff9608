# Shared by scripts/test and scripts/run: what Zelvora needs from Debian 12,
# and how to install what is missing.

ZELVORA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

ZELVORA_BUILD_PACKAGES=(cmake g++ ninja-build pkg-config
  libjpeg-dev libgif-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev)
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

# configure_and_build DIR [cmake options...]
configure_and_build() {
  local dir=$1; shift
  cmake -S "$ZELVORA_ROOT" -B "$ZELVORA_ROOT/$dir" -G Ninja "$@" >/dev/null
  cmake --build "$ZELVORA_ROOT/$dir" --parallel "$(nproc)"
}
