#!/usr/bin/env bash
# The system tweaks in a desktop session act on the desktop's own services
# and say so:
# the sound tweaks on a private PulseAudio with a silent sink (its volumes
# read back with pactl; the simulated Mac's stay as they were), the browser
# tweaks on the desktop entries and mimeapps.list of the XDG folders, the
# colour picker on the screen itself. Run under
#   xvfb-run -a tests/system/SystemTweaksX11.sh build/default/src/quorvane
set -euo pipefail
source "$(dirname "$0")/../support/x11-session.sh" "$1"

startOpenbox
# A browser that records what it is asked to open.
mkdir -p "$XDG_DATA_HOME/applications"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" > "$0.out"\n' > "$home/browser.sh"
chmod +x "$home/browser.sh"
printf '[Desktop Entry]\nType=Application\nName=Firefox\nExec=%s --new-window %%u\n' \
    "$home/browser.sh" > "$XDG_DATA_HOME/applications/firefox.desktop"
# Started before the sound server, on a machine without BlueZ: each tweak
# says where it acts, and what Linux has but this machine lacks is
# unavailable with the reason, never simulated.
unset PULSE_SERVER
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$home/no-system-bus"
# The desktop's settings in a file of the test's own, with a file chooser's
# schema beside the desktop's.
export GSETTINGS_BACKEND=keyfile GSETTINGS_SCHEMA_DIR="$home/schemas"
mkdir -p "$GSETTINGS_SCHEMA_DIR"
cat > "$GSETTINGS_SCHEMA_DIR/org.gtk.Settings.FileChooser.gschema.xml" <<'XML'
<schemalist>
  <schema id="org.gtk.Settings.FileChooser" path="/org/gtk/settings/file-chooser/">
    <key name="show-hidden" type="b"><default>false</default></key>
  </schema>
</schemalist>
XML
glib-compile-schemas "$GSETTINGS_SCHEMA_DIR"
mkdir -p "$XDG_CONFIG_HOME/com.tarnvell.Quorvane"
printf '{"QuitAppsTask.Manager.keepApps": ["file://%s"], "MuteMicrophoneTask.Manager.volume": 30}\n' \
    "$(readlink -f "$(command -v xeyes)")" > "$XDG_CONFIG_HOME/com.tarnvell.Quorvane/UserDefaults.json"
"$quorvane" >"$home/out.txt" 2>&1 &
pids+=($!)
eventually grep -q "Quorvane is running" "$home/out.txt" || fail "Quorvane did not start"
"$quorvane" list > "$home/list.txt"
actsOn() { grep -E "^$1 " "$home/list.txt" | cut -c102-; }
[ "$(actsOn SnapWindowsTask)" = "this desktop" ] || fail "Snap Windows acts on: $(actsOn SnapWindowsTask)"
case "$(actsOn AutoHideDockTask)" in "simulated Mac: macOS preferences"*) ;;
    *) fail "Auto Hide Dock acts on: $(actsOn AutoHideDockTask)" ;; esac
[ "$(actsOn MuteTask)" = "unavailable: no sound server (PulseAudio or PipeWire) runs in this session" ] ||
    fail "Mute: $(actsOn MuteTask)"
case "$(actsOn EnableBluetoothTask)" in "unavailable: BlueZ"*) ;;
    *) fail "Bluetooth: $(actsOn EnableBluetoothTask)" ;; esac
if "$quorvane" toggle Mute on 2>"$home/err.txt"; then fail "Mute switched without a sound server"; fi
grep -q "no sound server" "$home/err.txt" || fail "Mute said: $(cat "$home/err.txt")"
[ "$("$quorvane" toggle "Auto Hide Dock" on)" = "Switched Auto Hide Dock on (simulated Mac)." ] ||
    fail "the simulated Mac went unsaid"
"$quorvane" list --json | grep '"id":"SnapWindowsTask"' | grep -q '"actsOn":"desktop"' ||
    fail "list --json does not say where Snap Windows acts"

start pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
    --load="module-null-sink sink_name=quorvane_test" --load=module-native-protocol-unix
eventually pactl info || fail "the sound server did not start"
pactl set-sink-volume @DEFAULT_SINK@ 35%
pactl set-source-volume @DEFAULT_SOURCE@ 60%

# The sound server, started later, is found: the sound tweaks act on it.
volumeIs() { pactl "get-$1-volume" "@DEFAULT_${1^^}@" | head -1 | grep -q " $2% "; }
"$quorvane" toggle Mute on >/dev/null
eventually volumeIs sink 0 || fail "not muted: $(pactl get-sink-volume @DEFAULT_SINK@)"
"$quorvane" toggle Mute off >/dev/null
eventually volumeIs sink 35 || fail "not back to 35%: $(pactl get-sink-volume @DEFAULT_SINK@)"
"$quorvane" toggle "Mute Microphone" on >/dev/null
eventually volumeIs source 0 || fail "microphone not muted: $(pactl get-source-volume @DEFAULT_SOURCE@)"
"$quorvane" toggle "Mute Microphone" off >/dev/null
eventually volumeIs source 30 || fail "microphone not at its configured 30%: $(pactl get-source-volume @DEFAULT_SOURCE@)"
grep -q '"MuteMicrophoneTask.Manager.volume": 30' "$XDG_CONFIG_HOME/com.tarnvell.Quorvane/UserDefaults.json" ||
    fail "the microphone's configured level was rewritten"

# Dark Mode switches the desktop's colour scheme, journaled and kept in the
# restore log; putting it back leaves the scheme as it was.
scheme() { gsettings get org.gnome.desktop.interface color-scheme; }
[ "$(scheme)" = "'default'" ] || fail "the scheme starts as $(scheme)"
[ "$("$quorvane" toggle "Dark Mode" on)" = "Switched Dark Mode on." ] || fail "Dark Mode did not switch"
eventually prints "'prefer-dark'" scheme || fail "the scheme is $(scheme)"
eventually sh -c '"$0" restore --list | grep -q "dark mode  .default. → .prefer-dark."' "$quorvane" ||
    fail "not kept to be put back: $("$quorvane" restore --list)"
"$quorvane" journal | grep -q "color-scheme 'prefer-dark'" || fail "not journaled"
"$quorvane" restore --tweak "Dark Mode" >/dev/null
eventually prints "'default'" scheme || fail "not put back: $(scheme)"

# Show hidden files switches the file chooser's own setting, and is put back.
hidden() { gsettings get org.gtk.Settings.FileChooser show-hidden; }
[ "$("$quorvane" toggle "Show hidden files" on)" = "Switched Show hidden files on." ] ||
    fail "Show hidden files did not switch on the desktop"
eventually prints true hidden || fail "the file chooser's setting is $(hidden)"
"$quorvane" restore --tweak "Show hidden files" >/dev/null
eventually prints false hidden || fail "not put back: $(hidden)"

# Empty Trash empties the desktop's trash, and the restore log says it is
# gone for good.
mkdir -p "$XDG_DATA_HOME/Trash/files" "$XDG_DATA_HOME/Trash/info"
echo old > "$XDG_DATA_HOME/Trash/files/old.txt"
printf '[Trash Info]\nPath=%s/old.txt\n' "$home" > "$XDG_DATA_HOME/Trash/info/old.txt.trashinfo"
[ "$("$quorvane" run "Empty Trash")" = "Ran Empty Trash." ] || fail "Empty Trash did not run"
eventually test ! -e "$XDG_DATA_HOME/Trash/files/old.txt" || fail "the trash was not emptied"
eventually sh -c '"$0" journal | grep -q "emptied: 1 item"' "$quorvane" || fail "not journaled"
"$quorvane" restore --list | grep -q "the trash" || fail "the restore log does not say the trash went"

# The clipboard's link, with what a shell would act on, reaches the browser
# as one argument.
link='https://example.org/a;b?q=$(touch${IFS}pwned)&r=`touch${IFS}pwned`'
printf 'see %s.' "$link" | xclip -selection clipboard
"$quorvane" run "Open in Browser" >/dev/null
eventually test -s "$home/browser.sh.out" || fail "the browser was not started"
[ "$(cat "$home/browser.sh.out")" = "$(printf -- '--new-window\n%s' "$link")" ] ||
    fail "the browser was given: $(cat "$home/browser.sh.out")"
[ ! -e pwned ] && [ ! -e "$home/pwned" ] || fail "a shell ran the link"

# The colour sampler freezes the screen; a click on a #12ab34 window copies
# its colour.
xlogo -bg '#12ab34' -fg '#12ab34' -geometry 300x300+40+40 &
pids+=($!)
eventually xdotool search --class xlogo >/dev/null || fail "no xlogo"
xdotool windowactivate --sync "$(xdotool search --class xlogo | head -1)" || true
printf 'before' | xclip -selection clipboard
"$quorvane" run "Color Picker" >/dev/null
eventually xdotool search --name "Quorvane colour sampler" >/dev/null || fail "no sampler shown"
xdotool mousemove 190 190 click 1
eventually prints "#12ab34" xclip -o -selection clipboard ||
    fail "the clipboard holds: $(xclip -o -selection clipboard)"
# Escape cancels, the clipboard stays.
"$quorvane" run "Color Picker" >/dev/null
eventually xdotool search --name "Quorvane colour sampler" >/dev/null || fail "no sampler shown again"
xdotool key Escape
eventually sh -c '! xdotool search --name "Quorvane colour sampler" >/dev/null' || fail "Escape left the sampler"
[ "$(xclip -o -selection clipboard)" = "#12ab34" ] || fail "a cancelled sampler changed the clipboard"

# Quit Apps: a kept program survives "Quit All"; a window that claims
# another process's pid gets that process nothing.
kill "$(pgrep -x xlogo)" 2>/dev/null || true
sleep 300 &
bystander=$!
pids+=($bystander)
xeyes -geometry 100x100+500+40 &
pids+=($!)
xlogo -geometry 100x100+640+40 &
pids+=($!)
eventually xdotool search --class xeyes >/dev/null || fail "no xeyes"
eventually xdotool search --class xlogo >/dev/null || fail "no xlogo"
logo=$(xdotool search --class xlogo | head -1)
xprop -id "$logo" -f _NET_WM_PID 32c -set _NET_WM_PID "$bystander"
"$quorvane" run "Quit Apps" >/dev/null
eventually sh -c '! xdotool search --class xlogo >/dev/null' || fail "xlogo was not quit"
xdotool search --class xeyes >/dev/null || fail "the kept xeyes was quit"
kill -0 "$bystander" || fail "a process a window only named was killed"

simulated=$("$quorvane" sim volume | tr '\n' ' ')
[ "$simulated" = "output volume 50 input volume 50 " ] || fail "the simulated Mac's volumes moved: $simulated"
echo "PASS"
