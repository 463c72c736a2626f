#!/usr/bin/env bash
# Installs what building, running and testing the program needs on Debian 12 (GNU parallel and a
# one-node Slurm too: tests run the README's parallel command and its Slurm array job; SQLite,
# nettle, libpq and a PostgreSQL 15 server without a cluster of its own for the results database); with
# --tools also what the benchmarks (hyperfine for the tool's start cost, SciPy for the
# comparison), the README's conversion of recordings (sox), the README's pictures and looking at
# the program under a virtual display need; with --package also the checkers of the Debian package
# (scripts/check-package.sh); with --windows also what the Windows build needs, and the sources of
# Qt and of the results database's libraries while the caches of scripts/build-qt-windows.sh and
# scripts/build-windows-libraries.sh lack their builds.
# Idempotent: asks apt only for the packages that are missing, and says nothing
# when everything is already in place.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev libxkbcommon-dev
  libqt6svg6 qt6-svg-dev  # Qt's SVG plugins (the icon) and module (pictures saved as SVG)
  libcli11-dev
  libgtest-dev libgmock-dev libbenchmark-dev parallel
  fonts-dejavu-core
  help2man     # writes the manual page of tulvo-cli from its --help
  chromium poppler-utils tidy  # a report printed by a real browser, its text and its HTML checked
  slurmctld slurmd slurm-client munge  # started by the Slurm test itself, never as services
  libsqlite3-dev sqlite3  # the results database, and its shell for reading one by hand
  nettle-dev              # SHA-256 of the files a result names
  libpq-dev postgresql-15 postgresql-client-15  # a line's server; the tests start clusters of their own
)
slurm_services=(munge slurmctld slurmd)
windows=false
for option in "$@"; do
  case "$option" in
    --tools)
      packages+=(python3 python3-numpy python3-scipy xvfb xauth x11-utils imagemagick xdotool hyperfine sox) ;;
    --windows)
      # The Windows build: MinGW-w64 cross compilers, wine to run what they build, NSIS for the
      # installer, dpkg-source for the sources of Qt and of the results database's libraries
      # (scripts/build-qt-windows.sh, scripts/build-windows-libraries.sh), tclsh for SQLite's
      # one-file source, the icon's rendering (rsvg-convert, icotool), and the installer's test on a
      # virtual display.
      packages+=(g++-mingw-w64-x86-64-posix wine wine64 nsis dpkg-dev zip xvfb xauth imagemagick
                 librsvg2-bin icoutils xdotool python3 tcl8.6)
      windows=true ;;
    --package)
      packages+=(dpkg-dev lintian desktop-file-utils appstream shared-mime-info libglib2.0-bin python3) ;;
    *)
      echo "setup.sh: unknown option $option (known: --tools, --package, --windows)" >&2
      exit 2 ;;
  esac
done

if [ "$(id -u)" -ne 0 ]; then sudo=sudo; else sudo=; fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  # The PostgreSQL tests start throwaway clusters of their own: the package's "main" cluster, which
  # it would create and start on port 5432, is not made (written before the package comes, which
  # then keeps the file as it is).
  if [[ " ${missing[*]} " == *" postgresql-15 "* ]]; then
    conf=/etc/postgresql-common/createcluster.conf
    $sudo mkdir -p "$(dirname "$conf")"
    if grep -qs '^[[:space:]]*create_main_cluster' "$conf"; then
      $sudo sed -i 's/^[[:space:]]*create_main_cluster.*/create_main_cluster = false/' "$conf"
    else
      echo 'create_main_cluster = false' | $sudo tee -a "$conf" >/dev/null
    fi
  fi
  $sudo apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive UCF_FORCE_CONFFOLD=1 \
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  # The Slurm test starts its own munged, slurmctld and slurmd with a configuration of its own:
  # the packages' system services stay off (and stopped, where systemd runs and started them).
  if [[ " ${missing[*]} " == *" slurmctld "* ]] && command -v systemctl >/dev/null; then
    if [ -d /run/systemd/system ]; then now=--now; else now=; fi
    $sudo systemctl disable $now --quiet "${slurm_services[@]}" 2>/dev/null || true
  fi
fi

# apt-get source needs a deb-src entry for Debian's archive, added once.
source_archive() {
  if ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    echo "Adding Debian's source archive to apt (deb-src)"
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      $sudo tee /etc/apt/sources.list.d/tulvo-deb-src.sources >/dev/null
    $sudo apt-get update -qq
  fi
}
# Fetches one version of a source package into a folder, unless its .dsc is there.
fetch_source() { # source package, version, where
  [ -f "$3/$1_${2#*:}.dsc" ] && return 0
  source_archive
  echo "Fetching the source of $1 $2 into $3"
  # Into a folder of its own first, so that a fetch cut short leaves no .dsc without its tarballs.
  local part="$3/.part-$1"
  rm -rf "$part" && mkdir -p "$part"
  if (cd "$part" && apt-get source --download-only -qq "$1=$2") >"$part.log" 2>&1; then
    mv "$part"/* "$3"/ && rm -rf "$part" "$part.log"
  else
    echo "  failed: $(grep -m1 -o 'E: .*' "$part.log" || echo "see $part.log")"
    rm -rf "$part"
    return 1
  fi
}
# Fetches the source of the host's package's version, else the newest other version that Debian's
# archive serves (it has at times listed a security update's source without serving its tarballs).
fetch_served_source() { # source package, host package, where
  local version
  for version in $( {
    dpkg-query -W -f='${source:Version}\n' "$2"
    apt-cache showsrc "$1" | sed -n 's/^Version: //p' | sort -rV
  } | awk 'NF && !seen[$0]++'); do
    fetch_source "$1" "$version" "$3" && return 0
  done
  echo "setup.sh: Debian's archive serves no source of $1" >&2
  return 1
}

if $windows; then
  # Qt for Windows is cross-built from Debian's source of the host's Qt (scripts/build-qt-windows.sh):
  # while its cache lacks the tree, or the tree lacks the SVG module, the source packages are
  # fetched into the cache's sources/ folder.
  qt_prefix=$(bash "$here/build-qt-windows.sh" --print-prefix)
  sources="$(dirname "$qt_prefix")/sources"
  if [ ! -f "$qt_prefix/.complete" ]; then
    mkdir -p "$sources"
    fetch_source qt6-base "$(dpkg-query -W -f='${Version}' qt6-base-dev)" "$sources"
  fi
  if [ ! -f "$qt_prefix/.complete" ] || [ -f "$qt_prefix/.no-svg" ]; then
    mkdir -p "$sources"
    # Debian's archive has at times not served its tarballs: the Windows build then goes without SVG.
    fetch_source qt6-svg "$(dpkg-query -W -f='${Version}' qt6-svg-dev)" "$sources" || true
  fi
  # The results database's libraries (scripts/build-windows-libraries.sh): the source of each one
  # whose tree the cache lacks.
  mapfile -t missing_sources < <(bash "$here/build-windows-libraries.sh" --missing-sources)
  for line in "${missing_sources[@]}"; do
    mkdir -p "$sources"
    fetch_served_source ${line} "$sources" # source package, host package, where
  done
fi
