# Shared by the scripts: the project's root and the installation of missing Debian packages.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

# Packages the build and the tests need on Debian 12.
BUILD_PACKAGES=(cmake ninja-build g++ libgtest-dev nlohmann-json3-dev
  qt6-base-dev qt6-multimedia-dev libgl-dev
  xvfb xauth openbox xdotool x11-utils) # the window under a real window manager

# Packages that build the Debian package and check it.
PACKAGING_PACKAGES=(dpkg-dev file appstream desktop-file-utils libxml2-utils strace)

# Packages the fuzz targets need: clang and its libFuzzer and sanitizer run-times.
FUZZ_PACKAGES=(cmake ninja-build clang-14 libclang-rt-14-dev nlohmann-json3-dev)

# Packages the Windows build, its tests under Wine (in a virtual X server) and its zip need.
WINDOWS_PACKAGES=(cmake ninja-build g++-mingw-w64-x86-64-posix mingw-w64 googletest
  nlohmann-json3-dev wine wine64
  imagemagick xvfb xauth xdotool zip unzip wixl msitools)

# Installs those of the given Debian packages that are missing (as root, or through sudo).
ensure_packages() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}" >&2
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >&2
}

# Configures (once) and builds a tree: configure_and_build DIR [cmake options...]
configure_and_build() {
  local dir="$1"; shift
  cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j2
}
