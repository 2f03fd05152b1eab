#!/usr/bin/env bash
# The mouse tweaks and the keyboard lock against a real X server and window
# manager: auto click and auto scroll seen by another program and ended by
# a move, the pointer parked and brought back, the reversed wheel refused
# where no device can turn (Xvfb), and the lock holding typing and Alt+Tab
# back until its shortcut, and giving them back when killed. Run under
#   xvfb-run -a -s "-screen 0 1440x900x24" tests/input/MouseTweaksX11.sh build/default/src/quorvane
set -euo pipefail
quorvane=$(realpath "$1")

home=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$home"
}
trap cleanup EXIT
mkdir -m 700 "$home/run"
export HOME="$home" XDG_RUNTIME_DIR="$home/run" QT_QPA_PLATFORM=xcb QUORVANE_AUDIO=silent
export XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_STATE_HOME="$home/state"
export XDG_CACHE_HOME="$home/cache"
unset QUORVANE_DESKTOP QUORVANE_SIM_HOME

fail() { echo "FAIL: $*" >&2; "$quorvane" journal 2>/dev/null | tail -20 >&2 || true; exit 1; }
eventually() { for _ in $(seq 50); do if "$@" >/dev/null 2>&1; then return 0; fi; sleep 0.1; done; return 1; }
start() { "$@" >/dev/null 2>&1 & pids+=($!); }
count() { grep -c "$1" "$2" || true; }

start openbox
eventually xprop -root _NET_SUPPORTING_WM_CHECK || fail "openbox did not start"
start xlogo -geometry 300x300+900+400
eventually xdotool search --name '^xlogo$' || fail "xlogo did not start"
xlogo=$(xdotool search --name '^xlogo$' | head -1)

# The lock's way out, recorded before the start.
mkdir -p "$XDG_CONFIG_HOME/com.tarnvell.Quorvane"
echo '{"Hotkeys.LockScreenTask": "Ctrl+Alt+L"}' >"$XDG_CONFIG_HOME/com.tarnvell.Quorvane/UserDefaults.json"
launch() {
    "$quorvane" >"$home/out.txt" 2>&1 &
    instance=$!
    pids+=($instance)
    eventually grep -q "Quorvane is running" "$home/out.txt" || fail "Quorvane did not start"
}
launch
sleep 2  # past the re-application of stored toggles

# Auto click: one pair a second on what is under the pointer.
xdotool mousemove 1050 550
xev -id "$xlogo" -event button >"$home/clicks.txt" 2>&1 & pids+=($!)
sleep 0.3
"$quorvane" toggle "Auto Click" on >/dev/null
sleep 2.4
"$quorvane" toggle "Auto Click" off >/dev/null
clicks=$(count ButtonRelease "$home/clicks.txt")
[ "$clicks" -ge 2 ] && [ "$clicks" -le 3 ] || fail "$clicks clicks in 2.4 s at 1 a second"
[ "$(count ButtonPress "$home/clicks.txt")" = "$clicks" ] || fail "a button was left down"
sleep 1.2
[ "$(count ButtonRelease "$home/clicks.txt")" = "$clicks" ] || fail "clicks went on after off"
echo "auto click: $clicks clicks"

# Auto scroll: wheel notches down until the mouse moves.
"$quorvane" run "Auto Scroll" >/dev/null
sleep 2.5
xdotool mousemove_relative 40 0
sleep 0.3
notches=$(count "button 5" "$home/clicks.txt")
[ "$notches" -gt 0 ] || fail "no scrolling"
sleep 1
[ "$(count "button 5" "$home/clicks.txt")" = "$notches" ] || fail "scrolling went on after a move"
echo "auto scroll: $((notches / 2)) notches"

# Hide cursor: parked in the top-right corner, then back where it was.
xdotool mousemove 400 300
"$quorvane" run "Hide cursor" >/dev/null
[ "$(xdotool getmouselocation | cut -d' ' -f1,2)" = "x:1439 y:0" ] || fail "parked at $(xdotool getmouselocation)"
"$quorvane" run "Hide cursor" >/dev/null
[ "$(xdotool getmouselocation | cut -d' ' -f1,2)" = "x:400 y:300" ] || fail "back at $(xdotool getmouselocation)"
echo "hide cursor: parked and back"

# Xvfb's devices cannot turn their wheel: refused, nothing kept.
if "$quorvane" toggle "Reverse mouse scroll" on >/dev/null 2>&1; then fail "reversing was not refused"; fi
[ ! -e "$XDG_STATE_HOME/com.tarnvell.Quorvane/natural-scrolling.json" ] || fail "originals kept for nothing"
echo "reverse scroll: refused"

# The lock: typing and Alt+Tab go nowhere; the shortcut gives them back.
typed() { count KeyRelease "$home/keys.txt"; }
xev -id "$xlogo" -event keyboard >"$home/keys.txt" 2>&1 & pids+=($!)
xdotool windowactivate --sync "$xlogo"
sleep 0.3
"$quorvane" toggle "Lock keyboard" on >/dev/null
eventually sh -c "\"$quorvane\" journal | grep -q 'LockScreenTask  input  locked'" || fail "not locked"
sleep 0.3
active=$(xdotool getactivewindow)
xdotool type --delay 30 abc
xdotool key alt+Tab
sleep 0.3
[ "$(typed)" = 0 ] || fail "$(typed) keys reached xlogo while locked"
[ "$(xdotool getactivewindow)" = "$active" ] || fail "Alt+Tab switched windows while locked"
xdotool key ctrl+alt+l
eventually sh -c "\"$quorvane\" journal | grep -q 'LockScreenTask  input  unlocked'" || fail "the shortcut did not unlock"
xdotool windowactivate --sync "$xlogo"
sleep 0.3
xdotool type --delay 30 xy
eventually sh -c "[ \$(grep -c KeyRelease '$home/keys.txt') -ge 2 ]" || fail "typing did not come back"
echo "lock: held, unlocked by its shortcut"

# Killed while locked, the X server gives the input back.
before=$(typed)
"$quorvane" toggle "Lock keyboard" on >/dev/null
eventually sh -c "[ \$(\"$quorvane\" journal | grep -c 'LockScreenTask  input  locked') -ge 2 ]" || fail "not locked again"
kill -9 "$instance"
wait "$instance" 2>/dev/null || true
xdotool windowactivate --sync "$xlogo"
sleep 0.3
xdotool type --delay 30 pq
eventually sh -c "[ \$(grep -c KeyRelease '$home/keys.txt') -ge $((before + 2)) ]" || fail "typing did not come back after kill -9"
echo "lock: given back by kill -9"
echo "PASS"
