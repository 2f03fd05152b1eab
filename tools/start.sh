#!/usr/bin/env bash
# Sets up, builds and starts Quorvane. Arguments are passed to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
bash tools/build.sh default
exec build/default/src/quorvane "$@"
