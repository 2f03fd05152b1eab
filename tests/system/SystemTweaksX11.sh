#!/usr/bin/env bash
# The system tweaks in a desktop session act on the desktop's own services:
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
start pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
    --load="module-null-sink sink_name=quorvane_test" --load=module-native-protocol-unix
eventually pactl info || fail "the sound server did not start"
pactl set-sink-volume @DEFAULT_SINK@ 35%
pactl set-source-volume @DEFAULT_SOURCE@ 60%

# xeyes is kept from "Quit Apps"; the microphone unmutes to 30%.
mkdir -p "$XDG_CONFIG_HOME/com.tarnvell.Quorvane"
printf '{"QuitAppsTask.Manager.keepApps": ["file://%s"], "MuteMicrophoneTask.Manager.volume": 30}\n' \
    "$(readlink -f "$(command -v xeyes)")" > "$XDG_CONFIG_HOME/com.tarnvell.Quorvane/UserDefaults.json"
"$quorvane" >"$home/out.txt" 2>&1 &
pids+=($!)
eventually grep -q "Quorvane is running" "$home/out.txt" || fail "Quorvane did not start"

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
eventually test "$(xclip -o -selection clipboard)" = "#12ab34" ||
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
