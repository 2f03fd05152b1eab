#!/usr/bin/env bash
# Start-up time (to the main window shown) and resident memory after
# start-up of Quorvane, each as a ratio against two yardsticks (a blank Qt
# Widgets window, and one listing 98 rows of text) on
# the same machine. Median of several runs in one home folder, after a first
# launch that sets it up. Usage: bench/startup.sh [build folder] [runs]
set -euo pipefail
build="${1:-build/default}"
runs="${2:-7}"
export QT_QPA_PLATFORM=offscreen

# Prints "<milliseconds> <resident kilobytes>" for one run of the command,
# the time to a hundredth of a millisecond: whole milliseconds are about 4 %
# of a run, too coarse for a ratio.
measure() {
    local start end rss line
    start=$(date +%s%N)
    coproc RUN { exec "$@" 2>/dev/null; }
    read -r line <&"${RUN[0]}"
    end=$(date +%s%N)
    sleep 0.3  # let the first frame settle before reading the memory
    rss=$(awk '/^VmRSS/ {print $2}' "/proc/${RUN_PID}/status")
    kill -TERM "${RUN_PID}"
    wait "${RUN_PID}" 2>/dev/null || true
    # What a run leaves to write back (Quorvane saves at exit) must not
    # slow down the next one.
    sync
    sleep 0.2
    local hundredths=$(( (end - start) / 10000 ))
    printf '%d.%02d %s\n' $(( hundredths / 100 )) $(( hundredths % 100 )) "${rss}"
}

median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -m 700 "$home/run"
HOME="$home" XDG_RUNTIME_DIR="$home/run" measure "$build/src/quorvane" >/dev/null

blank_ms=(); blank_kb=(); text_ms=(); text_kb=(); app_ms=(); app_kb=()
for _ in $(seq "$runs"); do
    read -r ms kb < <(measure "$build/bench/quorvane_blank_window")
    blank_ms+=("$ms"); blank_kb+=("$kb")
    read -r ms kb < <(measure "$build/bench/quorvane_text_window")
    text_ms+=("$ms"); text_kb+=("$kb")
    read -r ms kb < <(HOME="$home" XDG_RUNTIME_DIR="$home/run" measure "$build/src/quorvane")
    app_ms+=("$ms"); app_kb+=("$kb")
done

bm=$(printf '%s\n' "${blank_ms[@]}" | median); bk=$(printf '%s\n' "${blank_kb[@]}" | median)
tm=$(printf '%s\n' "${text_ms[@]}" | median); tk=$(printf '%s\n' "${text_kb[@]}" | median)
am=$(printf '%s\n' "${app_ms[@]}" | median); ak=$(printf '%s\n' "${app_kb[@]}" | median)
echo "blank Qt window:      ${bm} ms, ${bk} KiB resident"
echo "98 rows of text:      ${tm} ms, ${tk} KiB resident"
echo "Quorvane:             ${am} ms, ${ak} KiB resident"
# Three decimals: at two, 1.1504 would read as 1.15, within a limit of
# 1.15 that it is not.
awk -v am="$am" -v bm="$bm" -v ak="$ak" -v bk="$bk" -v tm="$tm" -v tk="$tk" 'BEGIN {
    printf "against the blank window:    start-up %.3fx, memory %.3fx\n", am / bm, ak / bk
    printf "against 98 rows of text:     start-up %.3fx, memory %.3fx\n", am / tm, ak / tk
}'
