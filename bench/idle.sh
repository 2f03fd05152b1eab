#!/usr/bin/env bash
# Idle cost under a virtual X server with a window manager: CPU ticks used
# by Quorvane in 30 s with every toggle off, then in 30 s with one global
# input monitor and no input at all, and whether the input stream's reader
# thread exists in each; then with the keyboard tweaks on (keystroke strip
# and key clicks) from 3 s after the last key, when the strip is gone and
# the clicks' output sleeps; then with the window tweaks on (snapping,
# shake, focus, and the highlight over a compositor) and no input; then
# with Auto Click at one click a second, and the main thread's wake-ups
# (voluntary context switches) beside those of the idle run.
# Usage: bench/idle.sh [build folder] [seconds]
set -euo pipefail
build="$(cd "${1:-build/default}" && pwd)"
seconds="${2:-30}"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1440x900x24" "$0" "$build" "$seconds"
fi
source "$(dirname "$0")/session.sh"
wakeups() { awk '/^voluntary_ctxt_switches/ {print $2}' /proc/"$pid"/task/"$pid"/status; }
stream() { grep -l '^InputStream$' /proc/"$pid"/task/*/comm >/dev/null 2>&1 && echo "an input stream" || echo "no input stream"; }

before=$(ticks)
idle_stream=$(stream)
w0=$(wakeups)
sleep "$seconds"
idle=$(( $(ticks) - before ))
idleWakeups=$(( $(wakeups) - w0 ))

"$build/src/quorvane" desktop --watch "$seconds" >/dev/null 2>&1 &
watcher=$!
sleep 2
before=$(ticks)
watching_stream=$(stream)
sleep $(( seconds - 3 ))
watching=$(( $(ticks) - before ))

wait "$watcher" || true
"$build/src/quorvane" sim grant accessibility >/dev/null
for tweak in "Visualize keystrokes" "Mechanical Keyboard"; do
  "$build/src/quorvane" toggle "$tweak" on >/dev/null
done
xlogo >/dev/null 2>&1 &
sleep 1
xdotool search --class xlogo windowactivate --sync >/dev/null 2>&1 || true
xdotool type --delay 40 "hello idle"
sleep 3
before=$(ticks)
sleep "$seconds"
keyboard=$(( $(ticks) - before ))
clicks=$("$build/src/quorvane" journal | grep -o "played [0-9]* key clicks" | tail -1 || true)
for tweak in "Visualize keystrokes" "Mechanical Keyboard"; do
  "$build/src/quorvane" toggle "$tweak" off >/dev/null
done

xcompmgr >/dev/null 2>&1 &
sleep 1
for tweak in "Snap Windows" "Aero Shake" "Focus Frontmost App" "Highlight Active Window"; do
  "$build/src/quorvane" toggle "$tweak" on >/dev/null
done
sleep 2
before=$(ticks)
sleep "$seconds"
windowTweaks=$(( $(ticks) - before ))

for tweak in "Snap Windows" "Aero Shake" "Focus Frontmost App" "Highlight Active Window"; do
  "$build/src/quorvane" toggle "$tweak" off >/dev/null
done
xdotool mousemove 20 880
"$build/src/quorvane" toggle "Auto Click" on >/dev/null
sleep 2
before=$(ticks)
w0=$(wakeups)
sleep "$seconds"
autoClick=$(( $(ticks) - before ))
autoClickWakeups=$(( $(wakeups) - w0 ))
"$build/src/quorvane" toggle "Auto Click" off >/dev/null

echo "every toggle off:    ${idle} ticks in ${seconds} s, ${idle_stream}, ${idleWakeups} main-thread wake-ups"
echo "one global monitor:  ${watching} ticks in $(( seconds - 3 )) s, ${watching_stream}"
echo "keyboard tweaks on:  ${keyboard} ticks in ${seconds} s from 3 s after the last key (${clicks:-no clicks})"
echo "window tweaks on:    ${windowTweaks} ticks in ${seconds} s"
echo "auto click at 1/s:   ${autoClick} ticks in ${seconds} s, ${autoClickWakeups} main-thread wake-ups"
