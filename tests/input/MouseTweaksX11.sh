#!/usr/bin/env bash
# The mouse tweaks and the keyboard lock against a real X server and window
# manager: auto click and auto scroll seen by another program and ended by
# a move, the pointer parked and brought back, the reversed wheel refused
# where no device can turn (Xvfb), and the lock holding typing and Alt+Tab
# back until its shortcut, and giving them back when killed. Run under
#   xvfb-run -a -s "-screen 0 1440x900x24" tests/input/MouseTweaksX11.sh build/default/src/quorvane
set -euo pipefail
source "$(dirname "$0")/../support/x11-session.sh" "$1"

startOpenbox
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

# The cursor ring shows while the button is held, and the click still
# reaches the window under it.
"$quorvane" toggle "Visualize cursor" on >/dev/null
before=$(count ButtonRelease "$home/clicks.txt")
xdotool mousemove 1050 550 mousedown 1
eventually sh -c "\"$quorvane\" overlays | grep -q 'VisualizeCursorTask cursor ring at 975 275 150 × 150, level 1000, clicks pass, pressed'" ||
    fail "no ring: $("$quorvane" overlays)"
xdotool mouseup 1
eventually sh -c "! \"$quorvane\" overlays | grep -q VisualizeCursorTask" || fail "the ring stays"
[ "$(count ButtonRelease "$home/clicks.txt")" = $((before + 1)) ] || fail "the click did not reach xlogo"
"$quorvane" toggle "Visualize cursor" off >/dev/null
echo "visualize cursor: ring while pressed, click passed"

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
# The server lets go once it has seen the connection close: a key typed
# before that is still held back.
typesThrough() { xdotool type p; sleep 0.1; [ "$(typed)" -gt "$before" ]; }
eventually typesThrough || fail "typing did not come back after kill -9"
echo "lock: given back by kill -9"
echo "PASS"
