#!/usr/bin/env bash
# Installs the Debian packages that are missing for building and running (run)
# or for building and testing (test). Does nothing when all are there.
set -euo pipefail

run_packages=(
  cmake g++ make pkg-config
  qt6-base-dev libgl-dev
  libxcb1-dev libxcb-shape0-dev libxcb-xfixes0-dev libxcb-xinput-dev
)
test_packages=(
  "${run_packages[@]}"
  xvfb xcompmgr openbox wmctrl xdotool x11-utils x11-xserver-utils
  imagemagick poppler-utils fonts-dejavu-core fonts-urw-base35
  desktop-file-utils appstream
  clang libclang-rt-dev
  python3 procps libx11-dev
)

case "${1:-}" in
  run) wanted=("${run_packages[@]}") ;;
  test) wanted=("${test_packages[@]}") ;;
  *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

missing=()
for p in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
