#!/usr/bin/env bash
# The cost of watching the clipboard: CPU time of an idle Quorvane under a
# virtual X server and the wake-ups of its main thread (voluntary context
# switches; the watcher's timer runs there, and threads that come and go
# would make a sum over all of them meaningless), for a while with Auto
# Plain text off, then as long with it on.
# Usage: bench/idle-watch.sh [build folder] [seconds]
set -euo pipefail
build="$(cd "${1:-build/default}" && pwd)"
seconds="${2:-60}"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1440x900x24" "$0" "$build" "$seconds"
fi
source "$(dirname "$0")/session.sh"
wakeups() { awk '/^voluntary_ctxt_switches/ {print $2}' /proc/"$pid"/task/"$pid"/status; }
hz=$(getconf CLK_TCK)

measure() {
  local t0 w0
  t0=$(ticks); w0=$(wakeups)
  sleep "$seconds"
  echo "$(( $(ticks) - t0 )) $(( $(wakeups) - w0 ))"
}

read -r offTicks offWakeups < <(measure)
"$build/src/quorvane" toggle "Auto Plain text" on >/dev/null
# The switch's own work (the refresh, the donation) settles first.
sleep 5
read -r onTicks onWakeups < <(measure)

report() {
  awk -v t="$2" -v w="$3" -v s="$seconds" -v hz="$hz" -v what="$1" \
    'BEGIN { printf "%-22s CPU %.3f %%, %.2f wake-ups a second\n", what, 100 * t / hz / s, w / s }'
}
report "Auto Plain text off:" "$offTicks" "$offWakeups"
report "Auto Plain text on:" "$onTicks" "$onWakeups"
awk -v a="$offWakeups" -v b="$onWakeups" -v s="$seconds" \
  'BEGIN { printf "added by watching:     %.2f wake-ups a second\n", (b - a) / s }'
