#!/usr/bin/env bash
# Installs the Debian packages that are missing.
#   tools/install-deps.sh            what building and running the program needs (./run.sh)
#   tools/install-deps.sh --tests    that, and what the tests, benchmarks and end-to-end runs
#                                    need, with the ADIF reader's node modules (./test.sh)
# CUBWAVE_WITH_FUZZ=1 adds clang for the fuzz targets.
set -euo pipefail

with_tests=0
for arg in "$@"; do
  case "$arg" in
    --tests) with_tests=1 ;;
    *) echo "usage: $0 [--tests]" >&2; exit 2 ;;
  esac
done

program_packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-serialport-dev qt6-multimedia-dev libgl-dev
  # The wave player plays through GStreamer: without these its first play crashes.
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  fonts-liberation  # Liberation Sans and Sans Narrow: the metrics of the windows' Arial fonts
)
test_packages=(
  ccache  # test.sh builds through it, so a fresh clone reuses earlier builds' objects
  libgtest-dev libgmock-dev libbenchmark-dev libcw-dev
  xvfb xdotool matchbox-window-manager x11-utils
  espeak-ng sox  # the voice cues: their generator, and the check of the shipped ones
  hamradio-files
  libhamlib-utils  # rigctl: an independent client the radio simulators are checked against
  direwolf  # a real packet engine (and gen_packets, its audio) for the spot connection tests
  # Tests only, never for run.sh (on a PipeWire desktop it would take over the user's sound): the
  # voice tests' own sound server with a null sink, and parec to record what it plays.
  pulseaudio pulseaudio-utils
)

packages=("${program_packages[@]}")
if [ "$with_tests" = 1 ]; then
  packages+=("${test_packages[@]}")
  # Node runs the independent ADIF reader of the export tests; Debian's nodejs may come
  # without npm.
  command -v node >/dev/null 2>&1 || packages+=(nodejs)
  command -v npm >/dev/null 2>&1 || packages+=(npm)
fi
if [ "${CUBWAVE_WITH_FUZZ:-0}" = 1 ]; then
  packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
      cat >&2 <<MSG
$0: these packages are missing: ${missing[*]}
Installing them needs root, and this machine has no sudo. Either run this again as root
(su -c '$0 $*'), or install sudo and add yourself to its users, or install them as root yourself:
  apt-get install --no-install-recommends ${missing[*]}
MSG
      exit 1
    fi
    sudo=(sudo)
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ "$with_tests" = 1 ]; then
  # The ADIF reader the export tests compare with, at the version the lock file names.
  peer="$(dirname "$0")/../tests/export/adif-peer"
  if [ ! -d "$peer/node_modules" ]; then
    (cd "$peer" && npm ci --no-audit --no-fund --loglevel=error)
  fi
  # The Telnet parser the spot tests compare with.
  peer="$(dirname "$0")/../tests/spots/telnet-peer"
  if [ ! -d "$peer/node_modules" ]; then
    (cd "$peer" && npm ci --no-audit --no-fund --loglevel=error)
  fi
fi
