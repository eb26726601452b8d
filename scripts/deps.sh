#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Safe to run again:
# it does nothing when everything is already there.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev libgtest-dev googletest libbenchmark-dev
  libjpeg62-turbo-dev libsdl2-mixer-dev libcurl4-openssl-dev libchm-dev libxcb1-dev
  fonts-dejavu-core
  fp-utils freecell-solver-bin libchm-bin python3
  xvfb xauth imagemagick x11-apps x11-utils openbox xdotool wmctrl sox libsox-fmt-mp3 python3-xlib
  clang libclang-rt-14-dev clang-format clang-tidy
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "deps: installing ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get -o DPkg::Lock::Timeout=600 update -qq
$SUDO apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=600 "${missing[@]}"
