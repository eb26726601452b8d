#!/usr/bin/env bash
# Installs the Debian packages that building and running need. Safe to run again: it does nothing
# when everything is already there.
#
#   scripts/deps.sh run   what building and running the two programs needs (make run, make deckwright)
#   scripts/deps.sh       that, and what testing, fuzzing, formatting, linting and the benchmarks add
set -euo pipefail

# The compiler and build tools, the libraries the programs link, and the tools the build makes the
# program folder with (the help files with chmcmd from fp-utils and Python, the sounds with sox).
RUN_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libjpeg62-turbo-dev libsdl2-mixer-dev libcurl4-openssl-dev libchm-dev libxcb1-dev
  fonts-dejavu-core
  fp-utils python3 sox libsox-fmt-mp3
)
# The test framework and benchmarks, the rules judge (fc-solve), the desktop tests' X server, window
# manager and X tools, clang for the fuzzers and the second compile, and the format and lint tools.
DEV_PACKAGES=(
  ccache libgtest-dev googletest libbenchmark-dev
  freecell-solver-bin libchm-bin
  xvfb xauth imagemagick x11-apps x11-utils openbox xdotool wmctrl python3-xlib
  clang libclang-rt-14-dev clang-format clang-tidy
)

case "${1:-all}" in
  run) PACKAGES=("${RUN_PACKAGES[@]}") ;;
  all) PACKAGES=("${RUN_PACKAGES[@]}" "${DEV_PACKAGES[@]}") ;;
  *)
    echo "usage: $0 [run|all]" >&2
    exit 2
    ;;
esac

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
