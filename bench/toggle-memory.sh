#!/usr/bin/env bash
# Resident memory before, during and after switching every toggle (Auto
# Click aside, which would click the desktop) on and then off again, with
# what each helper process holds while it runs. The alerts of toggles the
# desktop refuses are dismissed before the last reading, as a user would.
# Run under an X display:
#   xvfb-run -a -s "-screen 0 1440x900x24" bench/toggle-memory.sh [build] [seconds after] [toggle]
# A toggle named last is measured alone.
set -euo pipefail
build="${1:-build/default}"
after="${2:-75}"
only="${3:-}"
quorvane="$build/src/quorvane"
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent
source "$(dirname "$0")/session.sh"

resident() { awk '/^VmRSS/ {print $2}' "/proc/$1/status"; }
shares() { awk '/^Pss:/ {p = $2} /^Private_Dirty:/ {d = $2} END {print p " KiB proportional, " d " KiB private dirty"}' "/proc/$1/smaps_rollup"; }

if [ -n "$only" ]; then
    toggles=("$only")
else
    mapfile -t toggles < <("$quorvane" list --toggles 2>/dev/null | grep -vx "Auto Click")
fi
echo "before: $(resident "$pid") KiB"
for toggle in "${toggles[@]}"; do timeout 20 "$quorvane" toggle "$toggle" on >/dev/null 2>&1 || true; done
sleep 5
echo "during: $(resident "$pid") KiB (${#toggles[@]} toggles on; $(shares "$pid"))"
for helper in $(pgrep -P "$pid" || true); do
    echo "  helper $(cat "/proc/$helper/comm"): $(resident "$helper") KiB ($(shares "$helper"))"
done
for toggle in "${toggles[@]}"; do timeout 20 "$quorvane" toggle "$toggle" off >/dev/null 2>&1 || true; done
for window in $(xdotool search --onlyvisible --name '^Quorvane$' 2>/dev/null || true); do
    width=$(xdotool getwindowgeometry "$window" 2>/dev/null | awk '/Geometry/ {split($2, a, "x"); print a[1]}' || true)
    if [ -n "$width" ] && [ "$width" -lt 700 ]; then
        xdotool windowactivate --sync "$window" key Return 2>/dev/null || true
    fi
done
sleep "$after"
echo "after:  $(resident "$pid") KiB (${after} s later; helpers still running: $(pgrep -P "$pid" -d, || echo none))"
