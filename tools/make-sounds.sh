#!/usr/bin/env bash
# Makes the short sounds in resources/sounds with sox. They are committed, so
# a build does not need sox; run this only to change them.
set -euo pipefail
cd "$(dirname "$0")/../resources/sounds"
# A short, soft tick: a rising one for "on", a falling one for "off".
sox -n -r 44100 -b 16 -c 1 toggleOn.wav synth 0.045 sine 900-1500 fade q 0.003 0.045 0.03 vol 0.5
sox -n -r 44100 -b 16 -c 1 toggleOff.wav synth 0.045 sine 1300-700 fade q 0.003 0.045 0.03 vol 0.5
# A mechanical key: a sharp filtered noise burst over a short low knock.
sox -n -r 44100 -b 16 -c 1 /tmp/quorvane-key-noise.wav synth 0.028 whitenoise highpass 1800 lowpass 7000 fade q 0.0005 0.028 0.024 vol 0.55
sox -n -r 44100 -b 16 -c 1 /tmp/quorvane-key-knock.wav synth 0.028 sine 260-140 fade q 0.001 0.028 0.022 vol 0.45
sox -m /tmp/quorvane-key-noise.wav /tmp/quorvane-key-knock.wav -b 16 keyDown.wav
rm -f /tmp/quorvane-key-noise.wav /tmp/quorvane-key-knock.wav
