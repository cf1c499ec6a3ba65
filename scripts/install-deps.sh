#!/usr/bin/env bash
# Installs the Debian packages a purpose needs, only when some are missing.
#   scripts/install-deps.sh run    what building and running the program takes
#   scripts/install-deps.sh test   that, plus what the test suite drives (X, Wine, cross compiler)
#   scripts/install-deps.sh windows  what scripts/build-windows.sh takes (Qt's source, MinGW, NSIS)
set -euo pipefail

run_packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev libvulkan-dev qt6-qpa-plugins
  fonts-liberation
  g++-mingw-w64-x86-64  # builds the Wine helper "Send IM" needs on Linux
  libgtest-dev libgmock-dev googletest libbenchmark-dev
)
test_packages=(
  xvfb xauth xdotool x11-utils imagemagick libx11-dev
  openbox  # a window manager, for the window frames under Xvfb
  wine wine64 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  desktop-file-utils appstream dpkg-dev file
  lintian man-db  # the package test holds the .deb to lintian and reads its manual pages
  procps  # pgrep, in the end-to-end test of a slow Wine helper
  dbus-daemon at-spi2-core python3-gi gir1.2-atspi-2.0  # the accessibility test's own AT-SPI stack and client
)
# Qt for Windows is built from Debian's qt6-base source with the posix-thread MinGW
# compilers against the host Qt's tools; nsis makes the installer, fonts-wine gives
# Wine its own fonts for the Windows tests.
windows_packages=(
  cmake ninja-build perl dpkg-dev xz-utils qt6-base-dev qt6-base-dev-tools
  gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  nsis fonts-wine fonts-liberation
)

case "${1:-run}" in
  run) wanted=("${run_packages[@]}") ;;
  test) wanted=("${run_packages[@]}" "${test_packages[@]}") ;;
  windows) wanted=("${windows_packages[@]}") ;;
  *) echo "usage: $0 run|test|windows" >&2; exit 2 ;;
esac

missing=()
for pkg in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing Debian packages: ${missing[*]}"
as_root=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get -o DPkg::Lock::Timeout=900 install -y -q --no-install-recommends "${missing[@]}"
