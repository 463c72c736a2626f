#!/usr/bin/env bash
# Installs what building, running and testing the program needs on Debian 12 (GNU parallel and a
# one-node Slurm too: tests run the README's parallel command and its Slurm array job); with --tools also what the benchmarks
# (hyperfine for the tool's start cost, SciPy for the comparison), the README's conversion of
# recordings (sox), the README's pictures and
# looking at the program under a virtual display need; with --package also the checkers of the
# Debian package (scripts/check-package.sh); with --windows also what the Windows build needs.
# Idempotent: asks apt only for the packages that are missing, and says nothing
# when everything is already in place.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev libxkbcommon-dev
  libqt6svg6 qt6-svg-dev  # Qt's SVG plugins (the icon) and module (pictures saved as SVG)
  libcli11-dev
  libgtest-dev libgmock-dev libbenchmark-dev parallel
  fonts-dejavu-core
  help2man     # writes the manual page of tulvo-cli from its --help
  slurmctld slurmd slurm-client munge  # started by the Slurm test itself, never as services
)
slurm_services=(munge slurmctld slurmd)
for option in "$@"; do
  case "$option" in
    --tools)
      packages+=(python3 python3-numpy python3-scipy xvfb xauth x11-utils imagemagick xdotool hyperfine sox) ;;
    --windows)
      # The Windows build: MinGW-w64 cross compilers, wine to run what they build, NSIS for the
      # installer, apt-get source for Qt's source (scripts/build-qt-windows.sh), the icon's
      # rendering (rsvg-convert, icotool), and the installer's test on a virtual display.
      packages+=(g++-mingw-w64-x86-64-posix wine wine64 nsis dpkg-dev zip xvfb xauth imagemagick
                 librsvg2-bin icoutils xdotool) ;;
    --package)
      packages+=(dpkg-dev lintian desktop-file-utils appstream shared-mime-info libglib2.0-bin python3) ;;
    *)
      echo "setup.sh: unknown option $option (known: --tools, --package, --windows)" >&2
      exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then sudo=sudo; else sudo=; fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  # The Slurm test starts its own munged, slurmctld and slurmd with a configuration of its own:
  # the packages' system services stay off (and stopped, where systemd runs and started them).
  if [[ " ${missing[*]} " == *" slurmctld "* ]] && command -v systemctl >/dev/null; then
    if [ -d /run/systemd/system ]; then now=--now; else now=; fi
    $sudo systemctl disable $now --quiet "${slurm_services[@]}" 2>/dev/null || true
  fi
fi
