#!/usr/bin/env bash
# What the power tweaks cost an idle Quorvane: the wake-ups of its main
# thread (voluntary context switches; threads that come and go would make a
# sum over all of them meaningless), its thread count and its CPU time, for a while with nothing on, then as long with Keep Mac Awake on
# (a caffeinate running), then with a shutdown pending (a privileged tool
# running). None should add a wake-up: their ends are waited for by
# blocked threads, not polled.
# Usage: bench/idle-power.sh [build folder] [seconds]
set -euo pipefail
build="$(cd "${1:-build/default}" && pwd)"
seconds="${2:-10}"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1440x900x24" "$0" "$build" "$seconds"
fi
source "$(dirname "$0")/session.sh"
quorvane="$build/src/quorvane"
wakeups() { awk '/^voluntary_ctxt_switches/ {print $2}' /proc/"$pid"/task/"$pid"/status; }
threads() { ls /proc/"$pid"/task | wc -l; }
hz=$(getconf CLK_TCK)

measure() {
  local t0 w0
  t0=$(ticks); w0=$(wakeups)
  sleep "$seconds"
  echo "$(( $(ticks) - t0 )) $(( $(wakeups) - w0 ))"
}
report() {
  awk -v t="$2" -v w="$3" -v s="$seconds" -v hz="$hz" -v what="$1" \
    -v n="$(threads)" \
    'BEGIN { printf "%-26s CPU %.3f %%, %d main-thread wake-ups in %d s, %d threads\n", what, 100 * t / hz / s, w, s, n }'
}

read -r idleTicks idleWakeups < <(measure)
report "idle:" "$idleTicks" "$idleWakeups"

"$quorvane" toggle "Keep Mac Awake" on >/dev/null
sleep 2
"$quorvane" sim power | grep -q "Keep-awake assertions: 1" || { echo "no assertion" >&2; exit 1; }
read -r awakeTicks awakeWakeups < <(measure)
report "Keep Mac Awake on:" "$awakeTicks" "$awakeWakeups"
"$quorvane" toggle "Keep Mac Awake" off >/dev/null

"$quorvane" toggle "Schedule shutdown" on >/dev/null
sleep 2
"$quorvane" sim power | grep -q "Pending shutdowns: 1" || { echo "no pending shutdown" >&2; exit 1; }
read -r pendingTicks pendingWakeups < <(measure)
report "a shutdown pending:" "$pendingTicks" "$pendingWakeups"
PATH="$XDG_DATA_HOME/quorvane-sim/bin:$PATH" sudo killall shutdown >/dev/null 2>&1 ||
  PATH="$XDG_DATA_HOME/quorvane-sim/bin:$PATH" killall shutdown
