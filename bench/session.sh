# Sourced by the idle benchmarks, under an X display: a home folder of its
# own, openbox, and Quorvane started there and given time to settle. Needs
# $build; sets $pid and ticks() (the process's CPU ticks so far).
export QT_QPA_PLATFORM=xcb
home=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$home"' EXIT
mkdir -m 700 "$home/run"
export HOME="$home" XDG_RUNTIME_DIR="$home/run" XDG_CONFIG_HOME="$home/config" \
  XDG_DATA_HOME="$home/data" XDG_STATE_HOME="$home/state" XDG_CACHE_HOME="$home/cache"
openbox >/dev/null 2>&1 &
sleep 1
"$build/src/quorvane" >/dev/null 2>&1 &
pid=$!
# Let start-up and the re-apply of stored toggles finish.
sleep 6

ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
