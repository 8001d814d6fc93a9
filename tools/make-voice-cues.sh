#!/usr/bin/env bash
# Generates the voice-navigation cues with espeak-ng: 16-bit mono wave files named as the program
# looks for them. Run once; the results are committed in data-extra/voice-cues/.
#   tools/make-voice-cues.sh [OUTDIR]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$here/data-extra/voice-cues}
mkdir -p "$out"

# file stem | spoken text
cues=(
  "Call|Call sign"
  "Name|Name"
  "RstRcvd|Age"
  "SPC|Location"
  "Power|Other"
  "Dupe|Duplicate"
  "NavEn|Voice navigation on"
  "NavDis|Voice navigation off"
)
for cue in "${cues[@]}"; do
  stem=${cue%%|*}
  text=${cue#*|}
  # The default English voice writes 22050 Hz 16-bit mono; a little slower than its default rate
  # of 175 words a minute, for clarity.
  espeak-ng -v en -s 165 -w "$out/$stem.wav" "$text"
done
