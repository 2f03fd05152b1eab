#!/usr/bin/env bash
# Started with the session, before its window manager (an autostart that
# races it): the program waits for the manager and acts on the X11 desktop.
# On a bare X server, where no desktop is named, it does not wait. Run under
#   xvfb-run -a tests/app/LateWindowManagerX11.sh build/default/src/quorvane
set -euo pipefail
source "$(dirname "$0")/../support/x11-session.sh" "$1"

XDG_CURRENT_DESKTOP=openbox "$quorvane" >"$home/out.txt" 2>&1 &
pids+=($!)
eventually grep -q "waiting up to 10 s for one" "$home/out.txt" ||
    fail "it did not wait for the window manager: $(cat "$home/out.txt")"
startOpenbox
eventually grep -q "windows and input act on this X11 session" "$home/out.txt" ||
    fail "it took the simulated desktop: $(cat "$home/out.txt")"
eventually grep -q "Quorvane is running" "$home/out.txt" || fail "Quorvane did not start"
