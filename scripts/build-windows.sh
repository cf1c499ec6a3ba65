#!/usr/bin/env bash
# Builds the Windows program on Debian with the MinGW-w64 cross compilers.
#
#   scripts/build-windows.sh           Qt for Windows (once), the program, then in build-windows/:
#                                      portable/ (a runnable folder), a zip of it, the NSIS installer
#   scripts/build-windows.sh --test    that, then the Windows tests under Wine (headless)
#   scripts/build-windows.sh --qt-only only Qt for Windows
#
# Qt for Windows is built from Debian's own qt6-base source, the host Qt's version, into
# ${QUORVEX_WINDOWS_CACHE:-~/.cache/quorvex-aim-fader}/qt6-<version>-<options hash>; it is
# built again only when its version or options change. Only Debian packages are used.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD

mode=all
case "${1:-}" in
  "") ;;
  --test) mode=test ;;
  --qt-only) mode=qt ;;
  *) echo "usage: $0 [--test|--qt-only]" >&2; exit 2 ;;
esac

scripts/install-deps.sh windows
[[ $mode == test ]] && scripts/install-deps.sh test

jobs=${QUORVEX_JOBS:-$(nproc)}
toolchain=$source_dir/packaging/windows/mingw-w64-x86_64.cmake
out=$source_dir/build-windows

# ---------------------------------------------------------------- Qt for Windows
qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
host_cmake_dir=/usr/lib/x86_64-linux-gnu/cmake
# Only what the program needs: Core, Gui, Widgets (and Test for the Windows tests);
# the windows platform plugin, gif and ico, the Vista style; Qt's bundled libraries.
# Debian's source has no wintab, hence no tablet events. Direct2D stays on: without
# it Qt 6.4.2's windows plugin still refers to the DirectWrite font database.
qt_options=(
  -release -shared -opensource -confirm-license
  -nomake examples -nomake tests
  -no-opengl -no-dbus -no-icu -no-fontconfig -no-glib -no-libjpeg
  -qt-zlib -qt-libpng -qt-freetype -qt-harfbuzz -qt-pcre
  -no-feature-network -no-feature-sql -no-feature-printsupport -no-feature-concurrent
  -no-feature-xml -no-feature-tabletevent
)
options_hash=$( { echo "$qt_version"; printf '%s\n' "${qt_options[@]}"; cat "$toolchain"; } |
  sha256sum | cut -c1-12)
cache=${QUORVEX_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quorvex-aim-fader}
qt_dir=$cache/qt6-${qt_version%%+*}-$options_hash
qt_prefix=$qt_dir/install

build_qt() {
  local work=$qt_dir/work
  rm -rf "$work" "$qt_prefix"
  mkdir -p "$work/lists/partial"
  echo "Building Qt $qt_version for Windows into $qt_dir (once; about 45 minutes on 2 cores)"
  # Private deb-src lists made from the machine's own apt sources: apt-get source uses
  # the mirror the machine is set up with, and the system's lists stay as they are.
  scripts/deb-src-list.sh "$work/apt"
  local apt_options=(-o Dir::Etc::SourceList="$work/apt/sources.list"
    -o Dir::Etc::SourceParts="$work/apt/parts"
    -o Dir::State::Lists="$work/lists" -o Debug::NoLocking=1)
  # A third-party repository without sources fails its part of the update; the
  # source download below says plainly if qt6-base was not found anywhere.
  apt-get -q "${apt_options[@]}" update ||
    echo "warning: some source indexes could not be fetched; trying the ones that were" >&2
  (cd "$work" && apt-get -q "${apt_options[@]}" source "qt6-base=$qt_version")
  local src
  src=$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -n1)
  mkdir -p "$work/build"
  (cd "$work/build" &&
    "$src/configure" -prefix "$qt_prefix" -xplatform win32-g++ -qt-host-path /usr "${qt_options[@]}" \
      -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQT_HOST_PATH_CMAKE_DIR="$host_cmake_dir")
  cmake --build "$work/build" --parallel "$jobs"
  cmake --install "$work/build" --strip
  rm -rf "$work"
  touch "$qt_dir/complete"
}

if [[ ! -f $qt_dir/complete ]]; then
  started=$SECONDS
  build_qt
  echo "Qt for Windows built in $(( (SECONDS - started) / 60 )) min $(( (SECONDS - started) % 60 )) s"
fi
echo "Qt for Windows: $qt_prefix"
[[ $mode == qt ]] && exit 0

# ---------------------------------------------------------------- the program
started=$SECONDS
# The icon is drawn at build time by makeicon, which must run here.
cmake -S . -B "$out/host" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DQUORVEX_BUILD_TESTS=OFF -DQUORVEX_BUILD_BENCH=OFF >/dev/null
cmake --build "$out/host" --target makeicon --parallel "$jobs"

cmake -S . -B "$out/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$qt_prefix/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DQUORVEX_HOST_MAKEICON="$out/host/packaging/icon/makeicon" \
  -DQUORVEX_BUILD_TESTS=OFF -DQUORVEX_BUILD_BENCH=OFF >/dev/null
cmake --build "$out/build" --parallel "$jobs"

rm -rf "$out/portable"
cmake --install "$out/build" --prefix "$out/portable" --strip >/dev/null
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/build/CMakeCache.txt")
zip=$out/quorvex-aim-fader-$version-win64-portable.zip
rm -f "$zip" "$out"/*setup*.exe
rm -rf "$out/zip" && mkdir "$out/zip" && cp -a "$out/portable" "$out/zip/Quorvex Aim Fader"
(cd "$out/zip" && cmake -E tar cf "$zip" --format=zip "Quorvex Aim Fader")
rm -rf "$out/zip"
(cd "$out/build" && cpack -G NSIS -B "$out/package" >/dev/null)
mv "$out"/package/*setup*.exe "$out/"
rm -rf "$out/package"
echo "Program built and packed in $(( SECONDS - started )) s:"
du -sh "$out/portable" "$zip" "$out"/*setup*.exe

[[ $mode == test ]] || exit 0

# ---------------------------------------------------------------- tests under Wine
tests/windows/run-wine-tests.sh "$out"
