#!/usr/bin/env bash
# Cross-builds the Windows programs on Debian with MinGW-w64 (what it needs: scripts/setup.sh --windows),
# against the results database's libraries that scripts/build-windows-libraries.sh cross-builds into
# its cache (building those that are missing, a few minutes each).
#   --cli-only   into build/windows-cli/: tulvo-cli.exe and the Qt-free test programs (dsp, core,
#                cli), run by CTest under wine (ctest --preset windows-cli).
#   (no option)  into build/windows/: tulvo.exe, tulvo-cli.exe, tulvo-plot.exe and every test
#                program (ctest --preset windows) against the Qt for Windows that
#                scripts/build-qt-windows.sh cross-builds into its cache (building it when it is
#                missing), then the installer tulvo-VERSION-win64-setup.exe and the zip
#                tulvo-VERSION-win64.zip of the folder a Windows user gets.
# Makes the wine prefix the tests run in (wine-prefix in the build folder) once, so that the first
# test does not pay for it.
set -euo pipefail
cd "$(dirname "$0")/.."

cli_only=false
for option in "$@"; do
  case "$option" in
    --cli-only) cli_only=true ;;
    *) echo "build-windows.sh: unknown option $option (known: --cli-only)" >&2; exit 2 ;;
  esac
done

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-D CMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# The wine prefix of a build folder's tests, made once.
make_wine_prefix() {
  local prefix="$PWD/$1/wine-prefix"
  if [ ! -f "$prefix/system.reg" ]; then
    echo "Making the wine prefix $prefix (once)"
    WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" wineboot --init >/dev/null 2>&1
    WINEPREFIX="$prefix" wineserver --wait
  fi
}

# SQLite, nettle and libpq for Windows: reused from their cache, built there first when missing.
bash scripts/build-windows-libraries.sh
mapfile -t libraries < <(bash scripts/build-windows-libraries.sh --cmake-options)

if $cli_only; then
  cmake --preset windows-cli "${launcher[@]}" "${libraries[@]}" >/dev/null
  cmake --build --preset windows-cli -- -j"$(nproc)" --quiet
  make_wine_prefix build/windows-cli
  echo "build/windows-cli/cli/tulvo-cli.exe: $(stat -c %s build/windows-cli/cli/tulvo-cli.exe) bytes"
  exit 0
fi

# Qt for Windows: reused from its cache, built there first when missing (about 30 minutes), or the
# tree TULVO_QT_WINDOWS names. Its toolchain file makes the tree findable and loads its copy of
# cmake/mingw-w64-x86_64.cmake.
qt=${TULVO_QT_WINDOWS:-}
if [ -z "$qt" ]; then
  bash scripts/build-qt-windows.sh
  qt=$(bash scripts/build-qt-windows.sh --print-prefix)
fi
cmake --preset windows -D CMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" "${launcher[@]}" \
  "${libraries[@]}" >/dev/null
cmake --build --preset windows -- -j"$(nproc)" --quiet
make_wine_prefix build/windows
# The installer and the zip (CPack: NSIS and ZIP).
(cd build/windows && cpack -C Release >cpack.log 2>&1) || { tail -40 build/windows/cpack.log; exit 1; }
for package in build/windows/tulvo-*-win64-setup.exe build/windows/tulvo-*-win64.zip; do
  echo "$package: $(stat -c %s "$package") bytes"
done
