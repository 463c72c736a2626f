#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (widget tests on the
# offscreen platform, so no display is needed): the whole suite under
# AddressSanitizer and UndefinedBehaviorSanitizer (preset `asan`), the
# parallel batch's tests under ThreadSanitizer (preset `tsan`, which builds
# only the core tests), the Windows build's suites under wine (preset
# `windows`, among them tulvo-cli.exe against the optimised build's tulvo-cli
# over a reference set) and its installer's test on a virtual display, and
# last the whole suite in the optimised build, whose summary closes the output.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh

# The asan preset turns off -Wmaybe-uninitialized: with the sanitizers' checks
# inlined, GCC 12 sees uninitialised members in libstdc++'s own std::regex and
# std::function code that the optimised build does not warn about.
cmake --preset asan >/dev/null
cmake --build --preset asan -- -j"$(nproc)" --quiet
# SampleBlock.TooManyOpenFilesIsCodeFour uses up every file descriptor on
# purpose; UBSan's vptr check then fails for want of a descriptor of its own
# (it opens /proc/self/maps), a limit of the sanitizer rather than a fault of
# the code, so that one test runs in the optimised build only.
ctest --preset asan -j"$(nproc)" -E 'TooManyOpenFilesIsCodeFour'

cmake --preset tsan >/dev/null
cmake --build --preset tsan -- -j"$(nproc)" --quiet
ctest --preset tsan -j"$(nproc)"

# The Windows build (Qt for Windows from its cache, built there first when missing), every suite
# under wine, and the installer as an operator meets it.
windows_start=$(date +%s)
bash scripts/setup.sh --windows
bash scripts/build-windows.sh
ctest --preset windows -j"$(nproc)"
version=$(sed -n 's/^project(tulvo VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
bash scripts/test-windows-installer.sh "build/windows/tulvo-$version-win64-setup.exe" build/release/cli/tulvo-cli
echo "Windows build, its tests under wine and the installer's test: $(($(date +%s) - windows_start)) s"

ctest --preset release -j"$(nproc)"
