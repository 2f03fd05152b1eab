#!/usr/bin/env bash
# In a Wayland session (weston, headless): what needs X11 (global input,
# other programs' windows, the screen) is unavailable with the reason; what
# does not acts on the desktop (its colour scheme, its clipboard through
# Qt); what Linux has no equivalent of acts on the simulated Mac. Run as
#   tests/app/WaylandSession.sh build/default/src/quorvane
set -euo pipefail
source "$(dirname "$0")/../support/x11-session.sh" "$1"
unset DISPLAY PULSE_SERVER
export QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=wayland-quorvane GSETTINGS_BACKEND=keyfile
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$home/no-system-bus"

start weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --idle-time=0
eventually test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" || fail "weston did not start"
"$quorvane" >"$home/out.txt" 2>&1 &
pids+=($!)
eventually grep -q "Quorvane is running" "$home/out.txt" || fail "Quorvane did not start: $(cat "$home/out.txt")"

"$quorvane" list > "$home/list.txt"
actsOn() { grep -E "^$1 " "$home/list.txt" | cut -c102-; }
for id in SnapWindowsTask VisualizeKeystrokeTask ColorPickerTask ConfettiTask DimTask; do
    [ "$(actsOn "$id")" = "unavailable: needs an X11 session" ] || fail "$id: $(actsOn "$id")"
done
for id in ToggleDarkModeTask ClearClipboardTask PlainTextTask EmptyTrashTask; do
    [ "$(actsOn "$id")" = "this desktop" ] || fail "$id: $(actsOn "$id")"
done
case "$(actsOn AutoHideDockTask)" in "simulated Mac: "*) ;; *) fail "Dock: $(actsOn AutoHideDockTask)" ;; esac
# No X server to suspend the saver, and no screen-saver service here.
case "$(actsOn KeepMacAwakeTask)" in
    "unavailable: nothing in this session can hold the screen saver off"*) ;;
    *) fail "Keep Mac Awake: $(actsOn KeepMacAwakeTask)" ;;
esac
if "$quorvane" toggle "Keep Mac Awake" on 2>"$home/err.txt"; then fail "Keep Mac Awake switched on"; fi

if "$quorvane" toggle "Snap Windows" on 2>"$home/err.txt"; then fail "Snap Windows switched on Wayland"; fi
grep -q "needs an X11 session" "$home/err.txt" || fail "Snap Windows said: $(cat "$home/err.txt")"
[ "$("$quorvane" toggle "Dark Mode" on)" = "Switched Dark Mode on." ] || fail "Dark Mode did not switch"
eventually prints "'prefer-dark'" gsettings get org.gnome.desktop.interface color-scheme ||
    fail "the colour scheme is $(gsettings get org.gnome.desktop.interface color-scheme)"
echo "PASS"
