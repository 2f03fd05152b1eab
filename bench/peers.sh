#!/usr/bin/env bash
# Quorvane side by side with the Linux programs a user would run instead,
# each measured the same way in one run, under a virtual X server (when
# there is no display) with openbox, a tray and a session bus of our own:
#   strip    Visualize keystrokes against screenkey: CPU time and wake-ups
#            over 2,000 typed keys, CPU time per key on a shown strip, and
#            the key that brings a gone strip back
#   tray     launch to the icon embedded in the tray, against copyq and
#            screenkey
#   memory   resident memory 10 s after launch, against copyq,
#            caffeine-indicator and screenkey
#   ocr      Extract Text against the tesseract command, on the same screen,
#            and Quorvane's memory before, after and once its reader has gone
#   html     Plain text on a 96 KB HTML clipboard, against html2text and pandoc
#   awake    the helpers Keep Mac Awake starts, against what caffeinate
#            keeps running, and whether the screen saver was held off
#   startup  bench/startup.sh's ratios against 98 rows of text
# Each line gives both figures, the ratio Quorvane / peer and its target;
# a summary table closes the run. A peer that is not installed is skipped.
#
# Needs (Debian): xvfb xauth openbox trayer (or stalonetray) xdotool
# x11-apps x11-utils x11-xserver-utils xterm xclip dbus-daemon dbus-bin
# imagemagick (import, for the screenshot tesseract reads) python3 libxss1
# (the screen saver's state) socat (the request for Plain text, else the
# command-line client sends it); the peers: screenkey copyq caffeine html2text
# pandoc tesseract-ocr tesseract-ocr-eng.
#
# Usage: bench/peers.sh [build folder] [row...]   (rows: see above; all by default)
set -euo pipefail
shopt -s inherit_errexit
all_rows=(strip tray memory ocr html awake startup)
build="$(cd "${1:-build/default}" && pwd)"
[ $# -gt 0 ] && shift
rows=("$@")
[ ${#rows[@]} -gt 0 ] || rows=("${all_rows[@]}")
for row in "${rows[@]}"; do
  case " ${all_rows[*]} " in
    *" $row "*) ;;
    *) echo "unknown row: $row (rows: ${all_rows[*]})" >&2; exit 2 ;;
  esac
done

# Off the host's system bus, on a session bus of our own.
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent GSETTINGS_BACKEND=keyfile
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1440x900x24" "$0" "$build" "${rows[@]}"
fi
if [ -z "${QUORVANE_PEERS_BUS:-}" ]; then
  # The bus and the services it starts chat on standard error.
  exec 2> >(grep --line-buffered -vE '^dbus-daemon\[[0-9]+\]|^SpiRegistry daemon' >&2) \
    > >(grep --line-buffered -v '^SpiRegistry daemon')
  exec env QUORVANE_PEERS_BUS=1 dbus-run-session -- "$0" "$build" "${rows[@]}"
fi

here="$(cd "$(dirname "$0")" && pwd)"
quorvane="$build/src/quorvane"
[ -x "$quorvane" ] || { echo "no $quorvane: build first" >&2; exit 1; }
for tool in xdotool xwininfo xclip xset openbox; do
  command -v "$tool" >/dev/null || { echo "$tool is needed (see the packages at the top)" >&2; exit 1; }
done

work=$(mktemp -d)
mkdir -p "$work/home" "$work/logs"
mkdir -m 700 "$work/run"
export HOME="$work/home" XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/home/.config" \
  XDG_DATA_HOME="$work/home/.local/share" XDG_STATE_HOME="$work/home/.local/state" \
  XDG_CACHE_HOME="$work/home/.cache" QT_QPA_PLATFORM=xcb
started="$work/started"   # the sessions launch() began, to end at exit
summary="$work/summary"
: >"$started"
: >"$summary"

now() { echo "${EPOCHREALTIME//[.,]/}"; }   # microseconds
have() { command -v "$1" >/dev/null; }
median() { sort -g | awk '{a[NR] = $1} END {if (NR) print a[int((NR + 1) / 2)]}'; }

# Runs the command until it succeeds, at most $1 seconds; 1 if it never did.
poll() {
  local end=$(( $(now) + $1 * 1000000 ))
  shift
  until "$@"; do
    (( $(now) < end )) || return 1
    sleep 0.01
  done
}

running() {
  local state
  state=$(awk '/^State:/ {print $2}' "/proc/$1/status" 2>/dev/null) && [ -n "$state" ] && [ "$state" != Z ]
}
# The live processes of session $1 (what launch() started and all it
# started, daemons included).
session_pids() { ps -o pid=,stat= -s "$1" 2>/dev/null | awk '$2 !~ /^Z/ {print $1}' || true; }
session_alive() { [ -n "$(session_pids "$1")" ]; }
descendants() {
  local child
  for child in $(ps -o pid= --ppid "$1" 2>/dev/null || true); do
    echo "$child"
    descendants "$child"
  done
}
kib() { awk '/^VmRSS/ {print $2}' "/proc/$1/status" 2>/dev/null || true; }
no_descendants() { [ -z "$(descendants "$1")" ]; }
rss_sum() {
  local sum=0 pid r
  for pid in "$@"; do
    r=$(kib "$pid")
    sum=$(( sum + ${r:-0} ))
  done
  echo "$sum"
}

# Starts a program in a session of its own, so that it and whatever it
# starts can be measured and ended together; sets $last to its pid (and
# session id).
launch() {
  local log
  log="$work/logs/$(basename "$1").log"
  setsid "$@" >>"$log" 2>&1 </dev/null &
  last=$!
  echo "$last" >>"$started"
}
# Ends what launch() started: the program first, so that it can let go of
# what it holds, then whatever is left of its session.
stop() {
  local pid=$1
  kill -TERM "$pid" 2>/dev/null || true
  poll 10 eval "! running $pid" || true
  if session_alive "$pid"; then
    kill -TERM -- "-$pid" 2>/dev/null || true
    poll 5 eval "! session_alive $pid" || kill -KILL -- "-$pid" 2>/dev/null || true
  fi
  wait "$pid" 2>/dev/null || true
  sed -i "/^$pid\$/d" "$started"
}
stop_all() {
  local pid
  for pid in $(tac "$started" 2>/dev/null); do
    session_alive "$pid" && stop "$pid"
  done
  return 0
}

# CPU nanoseconds of process $1's threads so far.
cpu_ns() { { cat /proc/"$1"/task/*/schedstat 2>/dev/null || true; } | awk '{s += $1} END {printf "%.0f\n", s}'; }
quiet() { local a b; a=$(cpu_ns "$1"); sleep 0.25; b=$(cpu_ns "$1"); (( b - a < 2000000 )); }
# Waits until process $1 has used under 2 ms of CPU in 250 ms: its start-up,
# or a strip's fading, done.
settle() { poll 15 quiet "$1" || echo "  (process $1 still busy after 15 s)"; }

# --- the X side ---------------------------------------------------------
tree() { xwininfo -root -tree 2>/dev/null || true; }
has_window() { [[ $(tree) == *"$1"* ]]; }
# 0 when a window whose line in the tree holds $1 is viewable.
shown() {
  local id info
  for id in $(tree | awk -v p="$1" 'index($0, p) {print $1}'); do
    info=$(xwininfo -id "$id" 2>/dev/null) || continue
    [[ $info == *"Map State: IsViewable"* ]] && return 0
  done
  return 1
}
hidden() { ! shown "$1"; }
tray=""
find_tray() { tree | awk '/\("panel" "trayer"\)|\("stalonetray" "stalonetray"\)/ {print $1; exit}'; }
# The icons embedded in the tray: the windows with a class under its window.
tray_icons() { xwininfo -tree -id "$tray" 2>/dev/null | grep -cE '^ +0x[0-9a-f]+ .*: \("' || true; }
tray_above() { (( $(tray_icons) > $1 )); }
tray_at() { (( $(tray_icons) == $1 )); }

# The screen saver's state (off, on, disabled) and the idle time in ms,
# from the MIT-SCREEN-SAVER extension.
saver_state() {
  python3 - <<'EOF' 2>/dev/null || echo "unknown -"
import ctypes
class Info(ctypes.Structure):
    _fields_ = [("window", ctypes.c_ulong), ("state", ctypes.c_int), ("kind", ctypes.c_int),
                ("til_or_since", ctypes.c_ulong), ("idle", ctypes.c_ulong), ("mask", ctypes.c_ulong)]
x11 = ctypes.CDLL("libX11.so.6")
xss = ctypes.CDLL("libXss.so.1")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
xss.XScreenSaverAllocInfo.restype = ctypes.POINTER(Info)
xss.XScreenSaverQueryInfo.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(Info)]
display = x11.XOpenDisplay(None)
info = xss.XScreenSaverAllocInfo()
if not display or not xss.XScreenSaverQueryInfo(display, x11.XDefaultRootWindow(display), info):
    raise SystemExit(1)
print({0: "off", 1: "on", 2: "cycle", 3: "disabled"}.get(info.contents.state, "?"), info.contents.idle)
EOF
}

# --- Quorvane -------------------------------------------------------------
qpid=""
start_quorvane() {
  launch "$quorvane"
  qpid=$last
  poll 30 test -S "$XDG_RUNTIME_DIR/quorvane/control.sock" &&
    poll 30 has_window '("quorvane" "Quorvane")' ||
    { echo "  Quorvane did not start (its log: $work/logs/quorvane.log)"; return 1; }
  settle "$qpid"  # the re-apply of stored toggles too
}
q() { "$quorvane" "$@" >>"$work/logs/cli.log" 2>&1; }

# --- reporting --------------------------------------------------------------
# One comparison: row, what, Quorvane's figure, peer, the peer's figure,
# unit, target ratio (at most; 1.0 unless given). Printed and kept for the
# summary.
compare() {
  local row=$1 what=$2 mine=$3 peer=$4 theirs=$5 unit=${6:+ $6} target=${7:-1.0} ratio verdict
  read -r ratio verdict < <(awk -v a="$mine" -v b="$theirs" -v t="$target" 'BEGIN {
    if (b + 0 <= 0 || a == "" || b == "") { print "- behind"; exit }
    printf "%.2f %s\n", a / b, (a / b <= t ? "ok" : "behind") }')
  printf '  %-32s Quorvane %s%s, %s %s%s: %sx (target <= %sx) %s\n' \
    "$what" "$mine" "$unit" "$peer" "$theirs" "$unit" "$ratio" "$target" "$verdict"
  printf '%s\t%s\t%s%s\t%s %s%s\t%sx\t<= %sx\t%s\n' \
    "$row" "$what" "$mine" "$unit" "$peer" "$theirs" "$unit" "$ratio" "$target" "$verdict" >>"$summary"
}
# A figure without a ratio: row, what, Quorvane's, peer, the peer's, target, verdict.
state_line() {
  printf '  %-32s Quorvane %s, %s %s (target: %s) %s\n' "$2" "$3" "$4" "$5" "$6" "$7"
  printf '%s\t%s\t%s\t%s %s\t-\t%s\t%s\n' "$1" "$2" "$3" "$4" "$5" "$6" "$7" >>"$summary"
}
skip() { echo "  $1 not installed: ${2:-row} skipped"; }

# --- CPU time and context switches of a process ---------------------------
# A watcher of process $1 (one at a time, as a coprocess): each line sent to
# it is answered with the process's CPU nanoseconds so far (its CPU clock:
# every thread, ended ones too), its context switches so far (voluntary and
# nonvoluntary, summed over its threads, as last seen: the watcher looks
# every 50 ms so that a thread that ends keeps what it had) and how many
# threads it saw end.
watcher_py='
import os, sys, threading, time
pid = int(sys.argv[1])
clock = ((~pid) << 3) | 2  # the process CPU clock of pid (CPUCLOCK_SCHED)
switches, ended, lock = {}, set(), threading.Lock()
def look():
    try:
        tids = os.listdir(f"/proc/{pid}/task")
    except OSError:
        return
    for tid in switches.keys() - set(tids):
        ended.add(tid)
    for tid in tids:
        try:
            with open(f"/proc/{pid}/task/{tid}/status") as status:
                switches[tid] = sum(int(l.split()[1]) for l in status if "ctxt_switches" in l)
        except (OSError, ValueError):
            pass
def watch():
    while True:
        with lock:
            look()
        time.sleep(0.05)
threading.Thread(target=watch, daemon=True).start()
for _ in sys.stdin:
    with lock:
        look()
        print(time.clock_gettime_ns(clock), sum(switches.values()), len(ended), flush=True)
'
watch_start() { coproc WATCH { exec python3 -c "$watcher_py" "$1"; }; }
watch_stop() { local fd=${WATCH[1]}; exec {fd}>&-; wait "$WATCH_PID" 2>/dev/null || true; }
# "<CPU ns> <switches> <threads ended>" so far.
mark() { echo >&"${WATCH[1]}"; local line; read -r line <&"${WATCH[0]}"; echo "$line"; }
# What happened between two marks: "<CPU ns> <switches> <threads ended>".
between() { awk -v a="$1" -v b="$2" 'BEGIN { split(a, x, " "); split(b, y, " "); printf "%.0f %.0f %.0f\n", y[1] - x[1], y[2] - x[2], y[3] - x[3] }'; }

# =============================================================================
# strip: Visualize keystrokes against screenkey
typing_text() {
  local line="the quick brown fox jumps over the lazy dog " text=""
  while (( ${#text} < 2000 )); do text+=$line; done
  printf '%s' "${text:0:2000}"
}
# The keys go to a terminal that throws them away (xlogo would quit on "q").
focus_sink() { timeout 10 xdotool search --classname peerskeys windowactivate --sync >/dev/null 2>&1 || true; }
has_focus() { [[ $(xdotool getactivewindow getwindowname 2>/dev/null || true) == peers-keys ]]; }
# Measures process $2 showing its strip (the window matched by $3) while
# keys are typed into another window; $1 names it. Sets strip_cpu (ms), strip_wakeups,
# strip_key (µs a key), strip_first (µs), strip_appear (ms).
measure_strip() {
  local who=$1 pid=$2 window=$3 text a b ns gone t0 t1 keys=abcdefghijklmnopqrstuvwxyz first=() appear=() round i
  text=$(typing_text)
  focus_sink
  has_focus || { echo "  the terminal did not get the focus: the keys would go elsewhere"; return 1; }
  watch_start "$pid"
  # Once, so that the strip's first showing ever is not in the figures.
  xdotool type --delay 40 "warm up"
  poll 20 hidden "$window" || { echo "  $who: its strip did not go"; return 1; }
  settle "$pid"

  # The typing, until the strip has gone after it: all the work it caused,
  # a backlog included.
  a=$(mark); t0=$(now)
  xdotool type --delay 10 "$text"
  t1=$(now)
  has_focus || { echo "  $who: the focus moved away during the typing"; return 1; }
  poll 30 hidden "$window" || { echo "  $who: its strip did not go"; return 1; }
  b=$(mark)
  read -r ns strip_wakeups gone < <(between "$a" "$b")
  strip_cpu=$(awk -v n="$ns" 'BEGIN {printf "%.1f", n / 1e6}')
  printf '  %-10s typed 2,000 keys in %.1f s, then its strip went %.1f s later: %s ms CPU, %d wake-ups (threads that ended: %d)\n' \
    "$who:" "$(awk -v d=$((t1 - t0)) 'BEGIN {print d / 1e6}')" "$(awk -v d=$(($(now) - t1)) 'BEGIN {print d / 1e6}')" \
    "$strip_cpu" "$strip_wakeups" "$gone"

  for round in 1 2 3 4 5; do
    poll 20 hidden "$window" || { echo "  $who: its strip did not go"; return 1; }
    settle "$pid"
    a=$(mark); t0=$(now)
    xdotool key "${keys:round:1}"
    poll 5 shown "$window" || { echo "  $who: no strip after a key"; return 1; }
    appear+=($(( ($(now) - t0) / 1000 )))
    sleep 0.15
    b=$(mark)
    read -r ns _ _ < <(between "$a" "$b")
    first+=($(( ns / 1000 )))
    if [ "$round" = 1 ]; then
      # Then 39 keys one by one on the shown strip, each handled and drawn
      # on its own.
      a=$b
      for i in $(seq 1 39); do
        xdotool key "${keys:i % 26:1}"
        sleep 0.15
      done
      b=$(mark)
      read -r ns _ _ < <(between "$a" "$b")
      strip_key=$(( ns / 39 / 1000 ))
    fi
  done
  watch_stop
  has_focus || { echo "  $who: the focus moved away during the keys"; return 1; }
  strip_first=$(printf '%s\n' "${first[@]}" | median)
  strip_appear=$(printf '%s\n' "${appear[@]}" | median)
  printf '  %-10s %s µs CPU a key on a shown strip (39 keys 150 ms apart); a key that brings it back: %s µs (median of %s), shown %s ms after the key\n' \
    "$who:" "$strip_key" "$strip_first" "${first[*]}" "$strip_appear"
}

row_strip() {
  echo "== strip: Visualize keystrokes against screenkey"
  if ! have screenkey; then skip screenkey; return 0; fi
  local q_cpu q_wakeups q_key q_first
  launch xterm -name peerskeys -T peers-keys -geometry 40x5+900+600 -e sh -c 'stty -echo; exec cat >/dev/null'
  poll 10 has_window '("peerskeys" "XTerm")'

  start_quorvane
  q sim grant accessibility
  q toggle "Visualize keystrokes" on
  measure_strip Quorvane "$qpid" '"VisualizeKeystrokeTask": ("quorvane" "Quorvane")'
  q_cpu=$strip_cpu q_wakeups=$strip_wakeups q_key=$strip_key q_first=$strip_first
  q toggle "Visualize keystrokes" off
  stop "$qpid"

  # Its defaults (a strip at the bottom, gone 2.5 s after the last key, and
  # a tray icon); a fresh home asks nothing.
  launch screenkey
  local sk=$last
  poll 20 has_window '("screenkey" ' || { echo "  screenkey did not start"; stop "$sk"; return 1; }
  settle "$sk"
  measure_strip screenkey "$sk" '"screenkey": ("screenkey" "Screenkey")'
  stop "$sk"

  compare strip "CPU over 2,000 keys" "$q_cpu" screenkey "$strip_cpu" ms
  compare strip "wake-ups over 2,000 keys" "$q_wakeups" screenkey "$strip_wakeups" ""
  compare strip "CPU a key, strip shown" "$q_key" screenkey "$strip_key" µs
  compare strip "CPU of the first key" "$q_first" screenkey "$strip_first" µs
}

# =============================================================================
# tray: launch to the icon embedded in the tray
# Milliseconds from launching the command to its icon in the tray, which is
# then back as it was before.
tray_launch() {
  local base t0 ms pid
  base=$(tray_icons)
  t0=$(now)
  launch "$@"
  pid=$last
  if poll 30 tray_above "$base"; then
    ms=$(awk -v d=$(( $(now) - t0 )) 'BEGIN {printf "%.0f", d / 1000}')
  else
    ms=""
  fi
  stop "$pid"
  poll 10 tray_at "$base" || true
  echo "$ms"
}

row_tray() {
  echo "== tray: launch to the icon embedded in the tray"
  if [ -z "$tray" ]; then echo "  no tray host (trayer or stalonetray) installed: row skipped"; return 0; fi
  local names=(quorvane) cmds=("$quorvane") i round ms
  if have copyq; then names+=(copyq); cmds+=(copyq); else skip copyq "its comparison"; fi
  if have screenkey; then names+=(screenkey); cmds+=(screenkey); else skip screenkey "its comparison"; fi
  declare -A times=() failed=()
  echo "  (median of 5 launches each, in turn, after one not counted that sets up its files; each ended before the next)"
  # Turn about, so that drift on the machine falls on all alike.
  for round in 0 1 2 3 4 5; do
    for i in "${!names[@]}"; do
      [ -z "${failed[${names[i]}]:-}" ] || continue
      ms=$(tray_launch "${cmds[i]}")
      if [ -z "$ms" ]; then
        echo "  ${names[i]}: no icon in the tray within 30 s, not launched again"
        failed[${names[i]}]=1
        continue
      fi
      [ "$round" = 0 ] || times[${names[i]}]+="$ms "
    done
  done
  declare -A med=()
  for i in "${names[@]}"; do
    med[$i]=$(printf '%s\n' ${times[$i]:-} | median)
    echo "  ${i}: ${times[$i]:-none}ms"
  done
  for i in "${names[@]:1}"; do
    compare tray "to the tray icon, vs $i" "${med[quorvane]:-}" "$i" "${med[$i]:-}" ms
  done
}

# =============================================================================
# memory: resident memory 10 s after launch
# Prints "<KiB of the session's processes> <KiB of the program's own> <processes>".
memory_after() {
  local pid pids
  launch "$@"
  pid=$last
  sleep 10  # the moment the figure is for
  pids=$(session_pids "$pid")
  echo "$(rss_sum $pids) $(kib "$pid") $(wc -w <<<"$pids")"
  stop "$pid"
}

row_memory() {
  echo "== memory: resident 10 s after launch, each alone (VmRSS summed over the program and every process it started)"
  local mine mine_own n peer theirs own
  read -r mine mine_own n < <(memory_after "$quorvane")
  echo "  Quorvane: ${mine} KiB in $n process(es), ${mine_own} KiB its own"
  for peer in copyq caffeine-indicator screenkey; do
    if ! have "$peer"; then skip "$peer" "its comparison"; continue; fi
    read -r theirs own n < <(memory_after "$peer")
    echo "  ${peer}: ${theirs} KiB in $n process(es), ${own} KiB its own"
    compare memory "resident, vs $peer" "$mine" "$peer" "$theirs" KiB
  done
}

# =============================================================================
# ocr: Extract Text against tesseract
ocr_text() {
  printf '%s\n' "The quick brown fox jumps over the lazy dog." \
    "Pack my box with five dozen liquor jugs." \
    "Sphinx of black quartz, judge my vow." \
    "How vexingly quick daft zebras jump 1234."
}
# How many of the known lines are in the text on standard input.
lines_right() {
  local got line n=0
  got=$(cat)
  while IFS= read -r line; do
    [[ $got == *"$line"* ]] && n=$((n + 1))
  done < <(ocr_text)
  echo "$n/4 lines right"
}
clipboard() { xclip -o -selection clipboard 2>/dev/null || true; }
clipboard_is() { [ "$(clipboard)" = "$1" ]; }
# Milliseconds from the end of the drag over x0 y0 x1 y1 to the clipboard
# taken with the text; the text goes to $work/ocr.out.
extract_text() {
  local x0=$1 y0=$2 x1=$3 y1=$4 holder t0 x
  timeout 60 xclip -quiet -selection clipboard -i <<<"before" >/dev/null 2>&1 &
  holder=$!
  poll 5 clipboard_is before
  q run "Extract Text"
  poll 10 shown '"Quorvane screen selection"' || { echo "  no screen selection after Extract Text" >&2; kill $holder; return 1; }
  xdotool mousemove "$x0" "$y0" mousedown 1
  for x in $(seq $((x0 + 40)) 80 "$x1"); do xdotool mousemove "$x" $(( y0 + (y1 - y0) * (x - x0) / (x1 - x0) )); done
  xdotool mousemove "$x1" "$y1"
  t0=$(now)
  xdotool mouseup 1
  # xclip ends when the clipboard is taken from it; timeout's 124 if not.
  wait "$holder" || { echo "  the clipboard was not taken within 60 s" >&2; return 1; }
  awk -v d=$(( $(now) - t0 )) 'BEGIN {printf "%.0f\n", d / 1000}'
  clipboard >"$work/ocr.out"
}

row_ocr() {
  echo "== ocr: Extract Text against tesseract, on the same area of the screen"
  local line geometry x y w h shot="$work/shot.png" t0 q1 q2 t1ms t2ms before during reader after
  start_quorvane
  ocr_text >"$work/ocr.txt"
  launch xterm -name peersocr -geometry 46x6+200+200 -fa "DejaVu Sans Mono" -fs 20 \
    -bg white -fg black -hold -e cat "$work/ocr.txt"
  poll 10 has_window '("peersocr" "XTerm")'
  timeout 10 xdotool search --classname peersocr windowactivate --sync >/dev/null 2>&1 || true
  poll 10 shown '("peersocr" "XTerm")'
  # "0x..  "cat": ("peersocr" "XTerm")  WxH+x+y  +X+Y": the client area on the screen.
  line=$(tree | grep -F '("peersocr" "XTerm")' | head -1)
  geometry=$(awk '{print $(NF-1)}' <<<"$line"); read -r x y < <(awk -F+ '{print $2, $3}' <<<"$(awk '{print $NF}' <<<"$line")")
  w=${geometry%%x*}; h=${geometry#*x}; h=${h%%+*}
  echo "  text: 4 lines in an xterm, DejaVu Sans Mono 20, area ${w}x${h} at $x,$y"

  settle "$qpid"
  before=$(kib "$qpid")
  q1=$(extract_text "$x" "$y" $((x + w - 1)) $((y + h - 1)))
  echo "  Quorvane first run:  ${q1} ms, $(lines_right <"$work/ocr.out")"
  q2=$(extract_text "$x" "$y" $((x + w - 1)) $((y + h - 1)))
  echo "  Quorvane second run: ${q2} ms, $(lines_right <"$work/ocr.out")"
  # Its resident memory, and the reader's (a process of its own, let go a
  # minute after the last picture): before, after the second run, and
  # once the reader has gone.
  during=$(kib "$qpid")
  reader=$(rss_sum $(descendants "$qpid"))
  t0=$(now)
  if poll 120 no_descendants "$qpid"; then
    settle "$qpid"
    after=$(kib "$qpid")
    echo "  Quorvane's memory: ${before} KiB before, ${during} KiB after the second run (the reader ${reader} KiB more), ${after} KiB once the reader had gone $(( ($(now) - t0) / 1000000 )) s later: $(( (after - before) / 1024 )) MB over before (target: within 5 MB)"
  else
    echo "  Quorvane's memory: ${before} KiB before, ${during} KiB after the second run (the reader ${reader} KiB more); the reader was still there 120 s later"
  fi
  stop "$qpid"

  if ! have tesseract; then skip tesseract; return 0; fi
  if ! have import; then echo "  import (imagemagick) not installed: no screenshot for tesseract, row skipped"; return 0; fi
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$shot"
  t0=$(now); tesseract "$shot" - >"$work/tess.out" 2>/dev/null; t1ms=$(( ($(now) - t0) / 1000 ))
  echo "  tesseract first run:  ${t1ms} ms, $(lines_right <"$work/tess.out")"
  t0=$(now); tesseract "$shot" - >"$work/tess.out" 2>/dev/null; t2ms=$(( ($(now) - t0) / 1000 ))
  echo "  tesseract second run: ${t2ms} ms, $(lines_right <"$work/tess.out")"
  echo "  (Quorvane: end of the drag to the clipboard taken; tesseract: the whole command on a PNG of the area)"
  compare ocr "first run" "$q1" tesseract "$t1ms" ms
  compare ocr "second run" "$q2" tesseract "$t2ms" ms
}

# =============================================================================
# html: Plain text on a ~96 KB HTML document
gen_html() {
  local i
  printf '<!DOCTYPE html>\n<html><head><meta charset="utf-8"><title>Field notes</title><style>p{margin:0}</style></head><body>\n'
  for ((i = 1; i <= 165; i++)); do
    printf '<h2>Section %d: notes on the week</h2>\n' "$i"
    printf '<p>Entry %d. The <b>quick</b> brown fox jumps over the <i>lazy</i> dog; see <a href="https://example.org/notes/%d">the notes</a> &amp; the <code>log_%d.txt</code> file.</p>\n' "$i" "$i" "$i"
    printf '<ul><li>First item of list %d</li><li>Second item &lt;with&gt; entities &eacute;t&eacute;</li><li>Third item</li></ul>\n' "$i"
    printf '<table><tr><th>Key</th><th>Value</th></tr><tr><td>alpha %d</td><td>%d</td></tr><tr><td>beta</td><td>%d</td></tr></table>\n' "$i" $((i * 7)) $((i * 13))
    printf '<div><span style="color:#%06x">Pack my box with five dozen liquor jugs.</span> Sphinx of black quartz, judge my vow.</div>\n' $((i * 99991 % 16777216))
  done
  printf '</body></html>\n'
}
offers_html() { [[ $(xclip -o -selection clipboard -t TARGETS 2>/dev/null || true) == *text/html* ]]; }
# The request `quorvane run "Plain text"` makes, written straight to the
# control socket: what a shortcut or the menu costs, without the command
# line client's own start.
run_plain_text_request() {
  if have socat; then
    printf '%s\n' '{"command":"runNamed","name":"Plain text"}' |
      socat -t 30 - "UNIX-CONNECT:$XDG_RUNTIME_DIR/quorvane/control.sock" >/dev/null
  else
    q run "Plain text"
  fi
}
# Milliseconds from the request to run Plain text, with the document on
# the clipboard as text/html, to the clipboard taken with the text.
plain_text_once() {
  local holder t0 ms text
  timeout 60 xclip -quiet -selection clipboard -t text/html -i "$work/doc.html" >/dev/null 2>&1 &
  holder=$!
  poll 5 offers_html
  t0=$(now)
  run_plain_text_request
  wait "$holder" || { echo "  the clipboard was not taken within 60 s" >&2; return 1; }
  ms=$(awk -v d=$(( $(now) - t0 )) 'BEGIN {printf "%.1f", d / 1000}')
  text=$(clipboard)
  [[ $text == *"Section 165: notes on the week"* && $text != *"<h2>"* ]] ||
    echo "  Plain text left no plain text on the clipboard" >&2
  echo "$ms"
}
# Milliseconds of the whole command (its output to $work/html.out).
command_ms() {
  local t0
  t0=$(now)
  "$@" >"$work/html.out" 2>/dev/null
  awk -v d=$(( $(now) - t0 )) 'BEGIN {printf "%.1f\n", d / 1000}'
}

row_html() {
  echo "== html: plain text from a 96 KB HTML document (median of 5, after one not counted)"
  local runs=() i mine peer theirs client
  gen_html >"$work/doc.html"
  start_quorvane
  plain_text_once >/dev/null
  for i in 1 2 3 4 5; do runs+=("$(plain_text_once)"); done
  mine=$(printf '%s\n' "${runs[@]}" | median)
  echo "  Quorvane: ${runs[*]} ms, $(clipboard | wc -c) bytes of text"
  runs=()
  if have socat; then
    for i in 1 2 3 4 5; do runs+=("$(command_ms socat -V)"); done
    client="socat, which alone takes $(printf '%s\n' "${runs[@]}" | median) ms to print its version"
  else
    for i in 1 2 3 4 5; do runs+=("$(command_ms "$quorvane" --version)"); done
    client="the command-line client (no socat here), which alone takes $(printf '%s\n' "${runs[@]}" | median) ms to print its version"
  fi
  echo "  (Quorvane's time runs from the request on its control socket, sent by $client,"
  echo "   through the clipboard's transfers both ways; the peers' from starting the command on the file)"
  stop "$qpid"
  for peer in html2text pandoc; do
    if ! have "$peer"; then skip "$peer" "its comparison"; continue; fi
    local cmd=("$peer" "$work/doc.html")
    [ "$peer" = pandoc ] && cmd=(pandoc -f html -t plain "$work/doc.html")
    runs=()
    command_ms "${cmd[@]}" >/dev/null
    for i in 1 2 3 4 5; do runs+=("$(command_ms "${cmd[@]}")"); done
    theirs=$(printf '%s\n' "${runs[@]}" | median)
    echo "  ${cmd[*]##*/}: ${runs[*]} ms, $(wc -c <"$work/html.out") bytes of text"
    compare html "plain text, vs $peer" "$mine" "$peer" "$theirs" ms
  done
}

# =============================================================================
# awake: keeping the session awake
keep_awake_lines() { "$quorvane" journal 2>/dev/null | grep -cE 'KeepMacAwakeTask +keep awake' || true; }
keep_awake_after() { (( $(keep_awake_lines) > $1 )); }
# After 4 s without input on a 2 s screen saver timeout: "yes" when the
# screen saver has not come on, and what the server says.
held_off() {
  local state idle
  xset s reset
  sleep 4  # the idle time itself
  read -r state idle < <(saver_state)
  local timeout
  timeout=$(xset q | awk '/timeout:/ {print $2; exit}')
  case "$state" in
    on | cycle) echo "no (saver $state after ${idle} ms idle, timeout ${timeout} s)" ;;
    off | disabled) echo "yes (saver $state after ${idle} ms idle, timeout ${timeout} s)" ;;
    *) echo "unknown (no MIT-SCREEN-SAVER answer: python3 or libXss.so.1 missing)" ;;
  esac
}

row_awake() {
  echo "== awake: what keeps the session awake (its processes' VmRSS), and whether the screen saver was held off"
  local pids mine mine_held theirs theirs_held cf p
  start_quorvane
  xset s 2
  local held_before
  held_before=$(keep_awake_lines)
  q toggle "Keep Mac Awake" on
  poll 10 keep_awake_after "$held_before" || echo "  Keep Mac Awake journaled nothing"
  sleep 1  # settled before the memory reading
  pids=$(descendants "$qpid")
  mine=$(rss_sum $pids)
  local list=""
  for p in $pids; do list+="$(ps -o args= -p "$p" | sed "s|$HOME|~|g") ($(kib "$p") KiB); "; done
  echo "  Quorvane's children: ${list:-none, it holds the session itself}"
  "$quorvane" journal 2>/dev/null | grep -E 'KeepMacAwakeTask +keep awake' | tail -1 | sed -E "s/^[^ ]+ +/  its journal: /; s|$HOME|~|g" || true
  mine_held=$(held_off)
  echo "  Quorvane held off the screen saver: $mine_held"
  q toggle "Keep Mac Awake" off
  xset s off
  stop "$qpid"

  if ! have caffeinate; then skip caffeine; return 0; fi
  xset s 2
  # caffeinate holds it through xdg-screensaver, which leaves a shell and an
  # xprop watching caffeinate's window for as long as the command runs.
  launch caffeinate sleep 3600
  cf=$last
  poll 10 eval '[[ $(ps -o args= -s $cf) == *"xdg-screensaver suspend"* ]]' ||
    echo "  caffeinate started no xdg-screensaver"
  sleep 1  # settled before the memory reading
  pids=$(ps -o pid=,args= -s "$cf" | awk '$2 != "sleep" {print $1}')
  theirs=$(rss_sum $pids)
  list=""
  for p in $pids; do list+="$(ps -o args= -p "$p") ($(kib "$p") KiB); "; done
  echo "  caffeinate's: $list(the command it runs, sleep, not counted)"
  theirs_held=$(held_off)
  echo "  caffeinate held off the screen saver: $theirs_held"
  stop "$cf"
  xset s off
  echo "  (caffeine-indicator, once switched on from its menu, holds it through the same xdg-screensaver suspend)"
  compare awake "keep-awake helpers' memory" "$mine" caffeinate "$theirs" KiB
  state_line awake "screen saver held off" "${mine_held%% *}" caffeinate "${theirs_held%% *}" yes \
    "$([ "${mine_held%% *}" = yes ] && echo ok || echo behind)"
}

# =============================================================================
# startup: bench/startup.sh, 15 runs
row_startup() {
  echo "== startup: bench/startup.sh with 15 runs (offscreen)"
  local out qm qk tm tk
  # Its own home for Quorvane: none of ours may leak in.
  out=$(env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_STATE_HOME -u XDG_CACHE_HOME \
    bash "$here/startup.sh" "$build" 15)
  sed 's/^/  /' <<<"$out"
  read -r tm tk < <(awk '/^98 rows of text:/ {print $5, $7}' <<<"$out" | tr -d ,)
  read -r qm qk < <(awk '/^Quorvane:/ {print $2, $4}' <<<"$out" | tr -d ,)
  compare startup "start-up time" "$qm" "98 rows of text" "$tm" ms 1.1
  compare startup "memory after start-up" "$qk" "98 rows of text" "$tk" KiB 1.1
}

# =============================================================================
# The window manager named on the root window is running.
wm_up() {
  local id
  id=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | awk '/window id/ {print $NF}' || true)
  [ -n "$id" ] && xwininfo -id "$id" >/dev/null 2>&1
}
# What every row stands on, started again if it has gone: a window manager
# (without one Quorvane acts on the simulated Mac's desktop instead) and a
# tray.
ensure_desktop() {
  if ! wm_up; then
    launch openbox
    poll 30 wm_up || { echo "openbox did not start on $DISPLAY:" >&2; cat "$work/logs/openbox.log" >&2; exit 1; }
  fi
  if [ -z "$(find_tray)" ]; then
    if have trayer; then
      launch trayer --edge top --align right --widthtype request --height 24
    elif have stalonetray; then
      launch stalonetray --icon-size 22 --geometry 1x1-0+0 --grow-gravity NE
    fi
    poll 10 eval '[ -n "$(find_tray)" ]' || true
  fi
  tray=$(find_tray)
}

saver_was=$(xset q | awk '/timeout:/ {print $2, $4; exit}')
trap 'stop_all; xset s ${saver_was:-0 600} 2>/dev/null || true; rm -rf "$work"' EXIT
xset s off   # the run is long; the screen must not blank
# What a desktop runs already: the accessibility bus, else the first program
# to ask for it pays for starting it.
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 || true
ensure_desktop
echo "Quorvane $("$quorvane" --version | awk '{print $NF}') from $build beside its peers, on $DISPLAY, $(date -u +%Y-%m-%dT%H:%MZ), $(nproc) CPUs"
[ -n "$tray" ] || echo "(no tray host: install trayer; Quorvane and the peers run without a tray)"
if have dpkg-query; then
  echo "peers: $(dpkg-query -W -f='${Package} ${Version}, ' screenkey copyq caffeine html2text pandoc tesseract-ocr 2>/dev/null | sed 's/, $//' || true)"
fi

for row in "${rows[@]}"; do
  ensure_desktop
  set +e
  (
    set -e
    started="$work/started.$row"   # what this row starts, openbox and the tray apart
    : >"$started"
    trap stop_all EXIT
    "row_$row"
  )
  status=$?
  set -e
  [ "$status" = 0 ] || echo "  row $row failed (status $status)"
done

echo
echo "== summary"
{
  printf 'row\tmeasure\tQuorvane\tpeer\tratio\ttarget\tverdict\n'
  cat "$summary"
} | column -t -s $'\t'
warnings=$(grep -hvE '^[0-9T:.-]+Z info |^Quorvane (is running|saved its records)|^  (records|settings|journal):|^Press Ctrl-C' \
  "$work/logs/quorvane.log" 2>/dev/null | sed -E 's/^[0-9T:.-]+Z //' | sort | uniq -c | sort -rn | head -8 || true)
if [ -n "$warnings" ]; then
  echo
  echo "Quorvane's standard error, beyond its info lines (times seen, line):"
  sed 's/^/  /' <<<"$warnings"
fi
