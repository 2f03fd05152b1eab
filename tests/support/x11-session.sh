# The scratch session a script test of the X11 desktop runs in; sourced
# with the program's path in $1. Every file the instance keeps stays in a
# scratch folder, whatever the caller's environment says; what the script
# starts (`start`, or appended to `pids`) ends with it. Also gives `fail`
# (with the journal's tail), `eventually` (up to 5 s), `count` and
# `startOpenbox`.
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
unset QUORVANE_DESKTOP QUORVANE_SIM_HOME XDG_CURRENT_DESKTOP XDG_SESSION_DESKTOP DESKTOP_SESSION

fail() { echo "FAIL: $*" >&2; "$quorvane" journal --all 2>/dev/null | tail -20 >&2 || true; exit 1; }
eventually() { for _ in $(seq 50); do if "$@" >/dev/null 2>&1; then return 0; fi; sleep 0.1; done; return 1; }
# Whether a command prints exactly TEXT; for eventually, which runs the
# command again each time ("eventually test "$(cmd)" = x" would not).
prints() { [ "$("${@:2}" 2>/dev/null)" = "$1" ]; }
start() { "$@" >/dev/null 2>&1 & pids+=($!); }
count() { grep -c "$1" "$2" || true; }
# The window manager, once it has announced itself: an instance started
# before that finds no EWMH window manager and takes the simulated desktop.
# (xprop succeeds on a missing property too, so the answer must be read.)
startOpenbox() {
    start openbox
    eventually sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' ||
        fail "openbox did not start"
}
