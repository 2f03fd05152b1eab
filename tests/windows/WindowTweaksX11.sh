#!/usr/bin/env bash
# The window tweaks against a real X server and window manager: snapping a
# window dragged by its title bar (and not after Escape), a shake that
# iconifies another program's window, hiding every application but a dock,
# and the active-window highlight with and without a compositor. Run under
#   xvfb-run -a -s "-screen 0 1440x900x24" tests/windows/WindowTweaksX11.sh build/default/src/quorvane
set -euo pipefail
source "$(dirname "$0")/../support/x11-session.sh" "$1"

startOpenbox
start xlogo -geometry 300x300+900+400
start xcalc -geometry +100+100
eventually xdotool search --name '^xlogo$' || fail "xlogo did not start"
eventually xdotool search --name '^Calculator$' || fail "xcalc did not start"
xlogo=$(xdotool search --name '^xlogo$' | head -1)
xcalc=$(xdotool search --name '^Calculator$' | head -1)

"$quorvane" >"$home/out.txt" 2>&1 &
pids+=($!)
eventually grep -q "Quorvane is running" "$home/out.txt" || fail "Quorvane did not start"
# Its window (no tray here) out of the way of the clicks, once it is mapped:
# on a slow machine it may map after the program says it runs.
eventually xdotool search --onlyvisible --name '^Quorvane$' || fail "Quorvane's window did not show"
minimized() {
    for window in $(xdotool search --onlyvisible --name '^Quorvane$'); do
        xdotool windowminimize "$window"
    done
    ! xdotool search --onlyvisible --name '^Quorvane$' >/dev/null
}
eventually minimized || fail "Quorvane's window stays in the way"
sleep 3  # past the re-application of stored toggles

# The window's outer frame, decorations included: "x y width height".
outer() {
    local info extents
    info=$(xwininfo -id "$1")
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    read -r left right top bottom <<<"$extents"
    awk -v l="$left" -v r="$right" -v t="$top" -v b="$bottom" '
        /Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
        /Width:/ {w = $NF} /Height:/ {h = $NF}
        END {print x - l, y - t, w + l + r, h + t + b}' <<<"$info"
}
xlogoAt() { [ "$(outer "$xlogo")" = "$1" ]; }
placed() { "$quorvane" journal | grep -c "SnapWindowsTask  window  placed" || true; }

"$quorvane" toggle "Snap Windows" on >/dev/null
# A title-bar drag that pauses, then goes to the top-left cell.
xdotool mousemove 1000 410 sleep 0.1 mousedown 1 sleep 0.1 mousemove 1020 415 sleep 0.05 \
    mousemove 1100 450 sleep 0.3 mousemove 200 150 sleep 0.3 mouseup 1
eventually xlogoAt "0 0 720 450" || fail "snapped to $(outer "$xlogo")"
echo "snap: xlogo placed at $(outer "$xlogo")"

# Escape takes the move back: no snap then.
xdotool windowmove "$xlogo" 900 400
sleep 0.3
before=$(outer "$xlogo")
xdotool mousemove 1000 410 sleep 0.1 mousedown 1 sleep 0.1 mousemove 1020 415 sleep 0.05 \
    mousemove 1100 450 sleep 0.3 mousemove 200 150 sleep 0.3 key Escape sleep 0.2 mouseup 1
sleep 0.5
[ "$(placed)" = 1 ] || fail "snapped after Escape"
[ "$(outer "$xlogo")" = "$before" ] || fail "moved after Escape to $(outer "$xlogo")"
echo "snap: Escape left xlogo at $before"
"$quorvane" toggle "Snap Windows" off >/dev/null

# A shake of xlogo by its title bar iconifies xcalc, another process.
"$quorvane" toggle "Aero Shake" on >/dev/null
frame=($(outer "$xlogo"))
xdotool mousemove $((frame[0] + 100)) $((frame[1] + 8)) sleep 0.1 mousedown 1 sleep 0.1
for leg in 12 -12 12 -12 12; do
    for _ in 1 2 3 4 5; do xdotool mousemove_relative -- "$leg" 0 sleep 0.02; done
done
xdotool mouseup 1
eventually sh -c "xprop -id $xcalc WM_STATE | grep -q Iconic" || fail "xcalc was not iconified"
xprop -id "$xlogo" WM_STATE | grep -q Normal || fail "the shaken xlogo went too"
echo "shake: xcalc iconified, xlogo kept"
"$quorvane" toggle "Aero Shake" off >/dev/null
xdotool windowmap "$xcalc" windowactivate "$xcalc" 2>/dev/null || true

# Hiding leaves the desktop's own windows alone: trayer, a dock, stays
# mapped, and nothing says it was hidden.
start trayer --edge bottom --align right --widthtype pixel --width 100 --height 20 \
    --SetPartialStrut false
trayerPid=${pids[-1]}
eventually xdotool search --classname '^panel$' || fail "trayer did not start"
trayer=$(xdotool search --classname '^panel$' | head -1)
eventually sh -c "xprop -root _NET_CLIENT_LIST | grep -qw $(printf '0x%x' "$trayer")" ||
    fail "openbox does not manage trayer"
"$quorvane" run "Hide all applications" >/dev/null || fail "Hide all applications did not run"
eventually sh -c '"$0" journal | grep -q "HideAllAppsTask  application  hid XLogo"' "$quorvane" ||
    fail "xlogo was not hidden"
xwininfo -id "$trayer" | grep -q IsViewable || fail "trayer was hidden"
if "$quorvane" journal | grep -q "hid trayer"; then fail "the journal says trayer was hidden"; fi
echo "hide all: xlogo hidden, trayer kept"
kill "$trayerPid"
for window in "$xcalc" "$xlogo"; do
    xdotool windowactivate "$window" 2>/dev/null || true
    eventually sh -c "xwininfo -id $window | grep -q IsViewable" || fail "window $window stays hidden"
done

# Without a compositor the highlight would blacken the desktop: refused.
if "$quorvane" toggle "Highlight Active Window" on >/dev/null 2>&1; then
    fail "the highlight went on without a compositor"
fi
echo "highlight: refused without a compositor"
start xcompmgr
sleep 0.5
"$quorvane" toggle "Highlight Active Window" on >/dev/null || fail "the highlight stayed off"
# Our overlay sits right below the frame of the window clicked last.
root=$(xwininfo -root | awk '/Window id:/ {print $4; exit}')
# The root's child holding a window: the window manager's frame.
frameOf() {
    local window parent
    window=$(printf '0x%x' "$1")
    while parent=$(xwininfo -tree -id "$window" | awk '/Parent window id:/ {print $4}'); [ "$parent" != "$root" ]; do
        window=$parent
    done
    echo "$window"
}
below() {
    local frame overlay
    frame=$(frameOf "$1")
    overlay=$(printf '0x%x' "$(xdotool search --name '^HighlightActiveWindowTask$' | head -1)")
    # Children top to bottom: the overlay comes straight after the frame.
    xwininfo -root -children | awk '/^ +0x/ {print $1}' |
        grep -A1 -x "$frame" | tail -1 | grep -q -x "$overlay"
}
xdotool mousemove 1000 600 click 1
eventually below "$xlogo" || fail "the overlay is not right below xlogo's frame"
xdotool mousemove 200 300 click 1
eventually below "$xcalc" || fail "the overlay did not follow the click to xcalc"
echo "highlight: right below the clicked window's frame"

# Show Desktop through the window manager's own switch.
"$quorvane" toggle "Highlight Active Window" off >/dev/null
"$quorvane" run "Show Desktop" >/dev/null || fail "Show Desktop did not run"
eventually sh -c "xprop -root _NET_SHOWING_DESKTOP | grep -q '= 1'" || fail "the desktop is not shown"
eventually sh -c "xwininfo -id $xlogo | grep -q IsUnMapped" || fail "xlogo still shows"
echo "show desktop: through _NET_SHOWING_DESKTOP"
# Run again, the windows come back.
"$quorvane" run "Show Desktop" >/dev/null || fail "Show Desktop did not run again"
eventually sh -c "xprop -root _NET_SHOWING_DESKTOP | grep -q '= 0'" || fail "the desktop stays shown"
eventually sh -c "xwininfo -id $xlogo | grep -q IsViewable" || fail "xlogo did not come back"
eventually sh -c '"$0" journal | grep -q "showed the windows again"' "$quorvane" ||
    fail "the return is not journaled"
echo "show desktop: run again, xlogo is back"

# Our window opens whatever the desktop shows, minimized too (as it has
# been since the start), from a second launch as from the status item.
ourWindowShows() {
    local window
    for window in $(xdotool search --name '^Quorvane$'); do
        xwininfo -id "$window" | grep -q IsViewable && xprop -id "$window" WM_STATE | grep -q Normal &&
            return 0
    done
    return 1
}
"$quorvane" run "Show Desktop" >/dev/null
eventually sh -c "xprop -root _NET_SHOWING_DESKTOP | grep -q '= 1'" || fail "the desktop is not shown"
"$quorvane" >/dev/null 2>&1
eventually ourWindowShows || fail "Quorvane's window did not open over the shown desktop"
for window in $(xdotool search --onlyvisible --name '^Quorvane$'); do xdotool windowminimize "$window"; done
eventually sh -c '! xdotool search --onlyvisible --name "^Quorvane\$"' || fail "Quorvane's window stays"
"$quorvane" >/dev/null 2>&1
eventually ourWindowShows || fail "the minimized window did not come back"
echo "reopen: the window comes back over the desktop and from the Dock"

# No Dock can be read here.
if "$quorvane" toggle "Click to hide" on 2>"$home/err.txt"; then fail "Click to hide went on"; fi
grep -q "Not supported on this desktop" "$home/err.txt" || fail "Click to hide: $(cat "$home/err.txt")"
# The command line's list says so too, though it has no desktop of its own.
"$quorvane" list --group Dock --search preview --json | grep -q '"unavailable":"Not supported on this desktop"' ||
  fail "list: $("$quorvane" list --group Dock --search preview --json)"
echo "dock: Not supported on this desktop"
echo "all passed"
