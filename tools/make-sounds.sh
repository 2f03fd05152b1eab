#!/usr/bin/env bash
# Makes the click sounds in resources/sounds with sox. They are committed, so
# a build does not need sox; run this only to change them.
set -euo pipefail
cd "$(dirname "$0")/../resources/sounds"
# A short, soft tick: a rising one for "on", a falling one for "off".
sox -n -r 44100 -b 16 -c 1 toggleOn.wav synth 0.045 sine 900-1500 fade q 0.003 0.045 0.03 vol 0.5
sox -n -r 44100 -b 16 -c 1 toggleOff.wav synth 0.045 sine 1300-700 fade q 0.003 0.045 0.03 vol 0.5
