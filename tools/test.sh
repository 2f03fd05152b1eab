#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite.
# Usage: tools/test.sh [preset]   (default: "default"; "asan" for the sanitizer build)
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
bash tools/setup.sh
bash tools/build.sh "$preset"
ctest --preset "$preset" --output-on-failure -j 2
