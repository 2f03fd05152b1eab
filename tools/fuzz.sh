#!/usr/bin/env bash
# Builds the fuzz targets for libFuzzer (the "fuzz" preset: clang 16 with
# the address and undefined-behaviour sanitizers) and runs one target, or
# every target in turn, for a time, starting from its corpus in
# tests/fuzz/corpus. What it learns goes to build/fuzz/corpus/TARGET, a
# crash, a time-out or a broken property to build/fuzz/findings/TARGET.
#
#   tools/fuzz.sh [TARGET] [SECONDS]     every target, 60 s each, by default
#   tools/fuzz.sh --list
#
# A finding is minimised into the corpus by hand, with a test where it is
# a behaviour:
#   build/fuzz/tests/fuzz/quorvane_fuzz_TARGET -minimize_crash=1 -runs=10000 FINDING
set -euo pipefail
cd "$(dirname "$0")/.."

targets=($(sed -n 's/^quorvane_fuzz_target(\([a-z_]*\) .*/\1/p' tests/fuzz/CMakeLists.txt))
if [ "${1:-}" = "--list" ]; then
  printf '%s\n' "${targets[@]}"
  exit 0
fi
chosen=("${targets[@]}")
if [ $# -ge 1 ] && [ "$1" != "all" ]; then
  printf '%s\n' "${targets[@]}" | grep -qx "$1" || {
    echo "no fuzz target \"$1\"; there are: ${targets[*]}" >&2
    exit 2
  }
  chosen=("$1")
fi
seconds="${2:-60}"

missing=()
for package in clang-16 libclang-rt-16-dev libomp-16-dev; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizers/lsan.supp"
status=0
for target in "${chosen[@]}"; do
  work="build/fuzz/corpus/$target"
  findings="build/fuzz/findings/$target"
  log="build/fuzz/$target.log"
  mkdir -p "$work" "$findings"
  # A request longer than the control socket's 64 KiB limit must be tried.
  length=8192
  [ "$target" = control_request ] && length=70000
  # Five seconds for one input catches work that grows faster than the
  # input; a gigabyte, memory that runs away.
  result=0
  "build/fuzz/tests/fuzz/quorvane_fuzz_$target" -max_total_time="$seconds" -timeout=5 \
    -rss_limit_mb=1024 -max_len="$length" -print_final_stats=1 \
    -artifact_prefix="$findings/" "$work" "tests/fuzz/corpus/$target" >"$log" 2>&1 || result=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  start=$(sed -n 's/.*INITED cov: \([0-9]*\).*/\1/p' "$log" | head -1)
  # A target that fails on its corpus reports no coverage: none is "?".
  end=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2 || true)
  found=$(find "$findings" -type f | wc -l)
  printf '%-16s %10s runs  %7s/s  coverage %s -> %s edges  corpus %s  findings %s\n' \
    "$target" "${runs:-0}" "${speed:-0}" "${start:-?}" "${end:-?}" \
    "$(find "$work" -type f | wc -l)" "$found"
  if [ "$result" -ne 0 ] || [ "$found" -gt 0 ]; then
    status=1
    grep -E "ERROR|fuzz check failed|SUMMARY|Test unit written" "$log" | head -5 | sed 's/^/    /'
  fi
done
exit "$status"
