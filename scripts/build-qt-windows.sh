#!/usr/bin/env bash
# Cross-builds Qt for 64-bit Windows (MinGW-w64, posix threads) from Debian's own Qt source, the same
# version as the Linux build's Qt, into a cache folder that later builds reuse:
#   ${TULVO_CACHE:-~/.cache/tulvo}/qt-<version>-mingw64-<key>
# <key> is a hash of the Qt version, the configure options, the toolchain file and the patches in
# scripts/qt-patches/, so that changing any of them builds a new tree beside the old one.
# Builds qtbase (Core, Gui, Widgets, Test; the windows and offscreen platform plugins, the
# windowsvista style; no SQL, network, D-Bus, OpenGL or print support) and then qtsvg (the SVG
# export, the icon engine) from the source packages that scripts/setup.sh --windows fetches into
# ${TULVO_CACHE:-~/.cache/tulvo}/sources. Prints the folder on its last line; with --print-prefix
# only computes and prints it (nothing is built).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
project=$(dirname "$here")
cache_root=${TULVO_CACHE:-$HOME/.cache/tulvo}
jobs=${TULVO_QT_JOBS:-$(nproc)}

qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null | sed 's/[+~-].*//') || true
qt_version=${qt_version:-6.4.2}

base_options=(
  -D CMAKE_BUILD_TYPE=Release -D BUILD_SHARED_LIBS=ON
  -D QT_HOST_PATH=/usr -D QT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
  -D QT_BUILD_EXAMPLES=OFF -D QT_BUILD_TESTS=OFF -D QT_BUILD_BENCHMARKS=OFF
  -D FEATURE_sql=OFF -D FEATURE_network=OFF -D FEATURE_dbus=OFF -D FEATURE_opengl=OFF
  -D FEATURE_printsupport=OFF -D FEATURE_concurrent=OFF -D FEATURE_xml=OFF -D FEATURE_vulkan=OFF
  -D FEATURE_icu=OFF -D FEATURE_zstd=OFF -D FEATURE_pkg_config=OFF -D FEATURE_qmake=OFF
  -D FEATURE_windeployqt=OFF -D FEATURE_testlib=ON
  # Debian's repacked source has no src/3rdparty/wintab.
  -D FEATURE_tabletevent=OFF
)
svg_options=(-D CMAKE_BUILD_TYPE=Release -D QT_BUILD_EXAMPLES=OFF -D QT_BUILD_TESTS=OFF)

key=$( {
  echo "$qt_version"
  printf '%s\n' "${base_options[@]}" "${svg_options[@]}"
  cat "$project/cmake/mingw-w64-x86_64.cmake"
  cat "$here"/qt-patches/*.patch 2>/dev/null || true
} | sha256sum | cut -c1-12)
prefix="$cache_root/qt-$qt_version-mingw64-$key"

if [ "${1:-}" = --print-prefix ]; then
  echo "$prefix"
  exit 0
fi

sources="$cache_root/sources"
# The .dsc in $sources of a source package of the same version as a binary package of the host.
dsc() { # source package, binary package
  local version
  version=$(dpkg-query -W -f='${Version}' "$2")
  echo "$sources/$1_${version#*:}.dsc"
}
# Unpacks that source package, printing the folder.
unpack() { # source package, binary package
  local file
  file=$(dsc "$1" "$2")
  [ -f "$file" ] || return 1
  dpkg-source --no-check -x "$file" "$work/$1" >"$work/$1-source.log" 2>&1 || return 1
  echo "$work/$1"
}
# Runs a step with its output in a log, shown in part when the step fails.
step() {
  local log="$work/$1.log"
  shift
  "$@" >"$log" 2>&1 || { tail -60 "$log"; echo "build-qt-windows.sh: failed, see $log" >&2; exit 1; }
}
# Qt's SVG module, built against the tree in $prefix. Debian's archive has at times served the
# qt6-svg source listing without its tarballs: then the tree is kept without SVG (marked by the
# file .no-svg; the next runs of scripts/setup.sh --windows and of this script try again) and the
# Windows build goes without SVG export.
build_svg() {
  local svg_src
  if ! svg_src=$(unpack qt6-svg qt6-svg-dev); then
    echo "Qt's SVG module: no qt6-svg source in $sources (scripts/setup.sh --windows fetches it)"
    echo "  the tree stays without SVG; the next run of this script tries again"
    touch "$prefix/.no-svg"
    return 0
  fi
  step svg-configure cmake -S "$svg_src" -B "$work/svg" -G Ninja \
    -D CMAKE_TOOLCHAIN_FILE="$prefix/lib/cmake/Qt6/qt.toolchain.cmake" -D CMAKE_INSTALL_PREFIX="$prefix" "${svg_options[@]}"
  step svg-build cmake --build "$work/svg" -j "$jobs"
  step svg-install cmake --install "$work/svg"
  rm -f "$prefix/.no-svg"
}
work="$cache_root/work-$key"

if [ -f "$prefix/.complete" ]; then
  echo "Qt $qt_version for Windows: reusing $prefix"
  if [ -f "$prefix/.no-svg" ]; then
    rm -rf "$work" && mkdir -p "$work"
    build_svg
    rm -rf "$work"
  fi
  echo "$prefix"
  exit 0
fi

if [ ! -f "$(dsc qt6-base qt6-base-dev)" ]; then
  echo "build-qt-windows.sh: no qt6-base source in $sources: scripts/setup.sh --windows fetches it" >&2
  exit 1
fi
start=$SECONDS
echo "Qt $qt_version for Windows (MinGW-w64): building qtbase and qtsvg into $prefix (about 30 minutes on two cores)"
rm -rf "$work" "$prefix"
mkdir -p "$work" "$prefix"
# The toolchain file lives inside the installed tree, so the tree names no path of a checkout.
cp "$project/cmake/mingw-w64-x86_64.cmake" "$prefix/mingw-w64-x86_64.cmake"

base_src=$(unpack qt6-base qt6-base-dev) || { tail -20 "$work/qt6-base-source.log"; exit 1; }
for p in "$here"/qt-patches/*.patch; do
  [ -e "$p" ] || continue
  echo "Applying $(basename "$p")"
  patch -d "$base_src" -p1 --quiet <"$p"
done
step base-configure cmake -S "$base_src" -B "$work/base" -G Ninja \
  -D CMAKE_TOOLCHAIN_FILE="$prefix/mingw-w64-x86_64.cmake" -D CMAKE_INSTALL_PREFIX="$prefix" "${base_options[@]}"
step base-build cmake --build "$work/base" -j "$jobs"
step base-install cmake --install "$work/base"
build_svg

touch "$prefix/.complete"
rm -rf "$work"
echo "Qt $qt_version for Windows built in $(((SECONDS - start) / 60)) min $(((SECONDS - start) % 60)) s: $(du -sh "$prefix" | cut -f1) in $(find "$prefix" -type f | wc -l) files"
echo "$prefix"
