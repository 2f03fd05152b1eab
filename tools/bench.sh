#!/usr/bin/env bash
# Builds and runs the benchmarks in bench/ (optimised build).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
bash tools/build.sh default
for program in build/default/bench/quorvane_bench_*; do
  "$program" "$@"
done
