#!/usr/bin/env bash
# Builds the Debian package the way Debian builds its own and checks it as a user's machine sees it:
#  - build/hardened: the optimised build with Debian's hardening flags (dpkg-buildflags with
#    hardening=+all); its bit-exact tests (tests/dsp, tests/core) show that these flags leave the
#    spectrum bytes alone;
#  - the package from that build, made into a temporary folder: its files and control fields,
#    lintian (no errors or warnings), desktop-file-validate, appstreamcli validate --pedantic;
#  - the package unpacked into a scratch root (dpkg -x): the installed tulvo-cli runs a batch and a
#    plot, tulvo starts, the installed manual page names everything the installed help names, and a
#    MIME database of the system's definitions plus the package's gives *.spm the spectrum type.
# Every check runs; the last line counts them, and the exit status is 1 when one failed.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$SECONDS
bash scripts/setup.sh --package

build=build/hardened
jobs=$(nproc)
passed=0
failed=0

# Runs a check: its name, then the command. Its output is shown; a failure is counted, not fatal.
check() {
  local name=$1
  shift
  echo "== $name"
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $name"
  fi
}

# Debian's full hardening set; CMake takes the preprocessor flags with the compiler's.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
echo "Hardened build: CXXFLAGS=$cxxflags LDFLAGS=$ldflags"
cmake -S . -B "$build" -G Ninja -D CMAKE_BUILD_TYPE=Release -D BUILD_TESTING=ON \
  -D TULVO_BUILD_BENCHMARKS=OFF -D "CMAKE_CXX_FLAGS=$cxxflags" -D "CMAKE_EXE_LINKER_FLAGS=$ldflags" \
  >/dev/null
cmake --build "$build" -- -j"$jobs" --quiet

# The bit-exact tests are those of dsp/ and core/; ctest in a test folder runs that folder's tests.
# Shows ctest's summary, or all of its output when a test failed.
folder_tests() {
  local log status=0
  log=$(ctest --test-dir "$build/tests/$1" -j"$jobs" --output-on-failure) || status=$?
  if [ "$status" -eq 0 ]; then grep -E 'tests passed|Total Test time' <<<"$log"; else echo "$log"; fi
  return "$status"
}
check "bit-exact tests of dsp/ under the hardening flags" folder_tests dsp
check "bit-exact tests of core/ under the hardening flags" folder_tests core

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb="$tmp/package/tulvo_${version}_$(dpkg --print-architecture).deb"
(cd "$build" && cpack -G DEB -B "$tmp/package" >/dev/null)
echo "== $(basename "$deb"): files"
dpkg -c "$deb"
echo "== $(basename "$deb"): control"
dpkg -I "$deb"

check "lintian" lintian --fail-on error,warning --display-info --pedantic "$deb"

root="$tmp/root"
dpkg -x "$deb" "$root"
share="$root/usr/share"
check "desktop-file-validate" desktop-file-validate "$share/applications/org.tulvo.tulvo.desktop"
check "appstreamcli validate --pedantic" \
  appstreamcli validate --pedantic --no-net "$share/metainfo/org.tulvo.tulvo.metainfo.xml"

check "installed tulvo-cli --version" "$root/usr/bin/tulvo-cli" --version

# A batch of two recordings through the installed tool. The files must equal those of the
# release build (bash scripts/build.sh), which has no hardening flags, where that build exists.
recordings="$tmp/recordings"
mkdir "$recordings"
/usr/bin/python3 scripts/make-recordings.py "$recordings" 2
installed_batch() {
  "$root/usr/bin/tulvo-cli" batch "$recordings"/rec1.wav "$recordings"/rec2.wav &&
    ls -l "$recordings"/*.spm &&
    if [ -x build/release/cli/tulvo-cli ]; then
      mkdir "$tmp/reference" && cp "$recordings"/*.wav "$tmp/reference" &&
        build/release/cli/tulvo-cli batch "$tmp/reference"/rec1.wav "$tmp/reference"/rec2.wav &&
        cmp "$recordings/rec1.spm" "$tmp/reference/rec1.spm" &&
        cmp "$recordings/rec2.spm" "$tmp/reference/rec2.spm" &&
        echo "the same bytes as build/release/cli/tulvo-cli"
    fi
}
check "installed tulvo-cli batch" installed_batch

installed_plot() {
  QT_QPA_PLATFORM=offscreen "$root/usr/bin/tulvo-cli" plot "$recordings"/rec1.spm \
    "$recordings"/rec2.spm --overlay -o "$tmp/plot.png" &&
    cmp -n 8 "$tmp/plot.png" <(printf '\x89PNG\r\n\x1a\n') && echo "a PNG picture of $(stat -c %s "$tmp/plot.png") bytes"
}
check "installed tulvo-cli plot" installed_plot

# The windowed program is still running after three seconds: it started and waits for the user.
installed_window() {
  local status=0
  QT_QPA_PLATFORM=offscreen timeout 3 "$root/usr/bin/tulvo" || status=$?
  [ "$status" -eq 124 ] && echo "tulvo started"
}
check "installed tulvo starts" installed_window

check "installed manual pages and changelog against the installed programs" \
  env TULVO_CLI="$root/usr/bin/tulvo-cli" \
  TULVO="$root/usr/bin/tulvo" \
  TULVO_CLI_MANPAGE="$share/man/man1/tulvo-cli.1.gz" \
  TULVO_MANPAGE="$share/man/man1/tulvo.1.gz" \
  TULVO_DEBIAN_CHANGELOG="$share/doc/tulvo/changelog.gz" \
  "$build/tests/data/tulvo_data_tests" --gtest_brief=1 \
  --gtest_filter='CliManPage.*:ManPage.*:Files/VersionEverywhere.*:DebianChangelog.*'

# The MIME type of a spectrum file in a scratch database: the system's definitions alone call it
# a source package, with the package's the spectrum type wins, also for an upper-case name.
spm_type() {
  local data=$1 file=${2:-$recordings/rec1.spm}
  XDG_DATA_HOME="$tmp/empty" XDG_DATA_DIRS="$data" update-mime-database "$data/mime" &&
    XDG_DATA_HOME="$tmp/empty" XDG_DATA_DIRS="$data" \
      gio info -a standard::content-type "$file" |
    sed -n 's/^ *standard::content-type: //p'
}
mime_type() {
  mkdir -p "$tmp/empty" "$tmp/mime/mime/packages"
  cp /usr/share/mime/packages/freedesktop.org.xml "$tmp/mime/mime/packages/"
  local before after upper
  before=$(spm_type "$tmp/mime")
  cp "$share/mime/packages/"*.xml "$tmp/mime/mime/packages/"
  after=$(spm_type "$tmp/mime")
  cp "$recordings/rec1.spm" "$recordings/REC1.SPM"
  upper=$(spm_type "$tmp/mime" "$recordings/REC1.SPM")
  echo "*.spm: $before without the package, $after with it ($upper for REC1.SPM)"
  [ "$before" = application/x-source-rpm ] && [ "$after" = application/x-tulvo-spectrum ] &&
    [ "$upper" = application/x-tulvo-spectrum ]
}
check "MIME type of *.spm" mime_type

echo "Package check took $((SECONDS - start)) s"
echo "package: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
