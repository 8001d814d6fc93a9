#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, when any is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-serialport-dev qt6-multimedia-dev libgl-dev
  # The wave player plays through GStreamer: without these its first play crashes.
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  espeak-ng sox  # the voice cues: their generator, and the check of the shipped ones
  libgtest-dev libgmock-dev libbenchmark-dev libcw-dev
  xvfb xdotool matchbox-window-manager x11-utils
  hamradio-files
  fonts-liberation  # Liberation Sans and Sans Narrow: the metrics of the windows' Arial fonts
  libhamlib-utils  # rigctl: an independent client the radio simulators are checked against
  # Tests only, never for run.sh (on a PipeWire desktop it would take over the user's sound): the
  # voice tests' own sound server with a null sink, and parec to record what it plays.
  pulseaudio pulseaudio-utils
)
# Node runs the independent ADIF reader of the export tests.
command -v node >/dev/null 2>&1 || packages+=(nodejs)
[ "${CUBWAVE_WITH_FUZZ:-0}" = 1 ] && packages+=(clang libclang-rt-14-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# Debian's nodejs may come without npm.
command -v npm >/dev/null 2>&1 || $sudo apt-get install -y -qq --no-install-recommends npm

# The ADIF reader the export tests compare with, at the version the lock file names.
peer="$(dirname "$0")/../tests/export/adif-peer"
if [ ! -d "$peer/node_modules" ]; then
  (cd "$peer" && npm ci --no-audit --no-fund --loglevel=error)
fi
