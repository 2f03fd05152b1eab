#!/usr/bin/env bash
# Writes src/app/startup.order: the functions of the program that run from
# launch to the first turn of the event loop, one mangled name a line. The
# linker places them together (cmake/QuorvaneStartupOrder.cmake), so start-up
# pages in only the code it runs instead of pieces of the whole binary.
#
# Run it after a change that moves much start-up work, then compare with
# bench/startup.sh. A stale list costs memory, never correctness: functions
# it lacks are placed as the linker would place them anyway.
# Usage: tools/startup-order.sh [build folder]   (needs valgrind)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/default}"
program="$PWD/$build/src/quorvane"
[ -x "$program" ] || { echo "no program at $program: build it first" >&2; exit 1; }
command -v valgrind >/dev/null || { echo "valgrind is needed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/run"
export HOME="$work" XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=offscreen
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_STATE_HOME XDG_CACHE_HOME QUORVANE_DESKTOP

# One launch under callgrind: ended a moment after it says it is running.
profile() {
    local out="$1" line
    coproc RUN { exec valgrind --tool=callgrind --demangle=no --callgrind-out-file="$out" \
        "$program" 2>/dev/null; }
    while read -r line <&"${RUN[0]}"; do
        [[ "$line" == "Quorvane is running." ]] && break
    done
    sleep 1
    # What ran so far, without the way out.
    callgrind_control --dump "$RUN_PID" >/dev/null 2>&1
    kill -TERM "$RUN_PID"
    wait "$RUN_PID" || true
}

# The first launch (nothing kept yet) and a later one (records, settings
# and drawn images read back): both paths are start-up.
profile "$work/first.out"
profile "$work/later.out"

for out in "$work/first.out".1 "$work/later.out".1; do
    callgrind_annotate --threshold=100 "$out" | grep -F "[$program]" |
        sed -E 's/^ *[0-9,]+ +\([^)]*\) +//; s/ \[[^]]*\]$//; s/^.*://; s/'"'"'[0-9]+$//'
done | grep -v -E '^(0x|\?\?\?|\(below main\)|$)' | LC_ALL=C sort -u > src/app/startup.order
echo "$(wc -l < src/app/startup.order) functions in src/app/startup.order"
