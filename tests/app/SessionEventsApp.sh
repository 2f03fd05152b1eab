#!/usr/bin/env bash
# Run by dbus-run-session: the running program reacts to the session's own
# sleep and lock events (from a stand-in logind on the session bus, which
# here is the system bus too), holds a delay inhibitor until the reaction's
# command has run, and journals what reported each event.
# Usage: SessionEventsApp.sh QUORVANE FAKE_SESSION
set -euo pipefail
quorvane=$1
fake=$2
export DBUS_SYSTEM_BUS_ADDRESS=$DBUS_SESSION_BUS_ADDRESS
scratch="$(mktemp -d)"
export HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/run" XDG_DATA_HOME="$scratch/data"
export XDG_CONFIG_HOME="$scratch/config" XDG_STATE_HOME="$scratch/state" XDG_CACHE_HOME="$scratch/cache"
unset QUORVANE_SIM_HOME QUORVANE_SYSTEM_EVENTS DISPLAY
export QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$XDG_DATA_HOME/com.tarnvell.Quorvane/Default"
chmod 700 "$XDG_RUNTIME_DIR"
cat >"$XDG_DATA_HOME/com.tarnvell.Quorvane/Default/AutomationManager.automation.json" <<'JSON'
{"reactions":[{"event":"screenLocked","tweakId":"AutoHideDockTask","action":"toggleOn"},
 {"event":"willSleep","tweakId":"ShowHiddenFilesTask","action":"toggleOn"}]}
JSON

coproc FAKE { exec "$fake"; }
read -r -t 10 ready <&"${FAKE[0]}"
[ "$ready" = ready ] || { echo "the stand-in logind did not start"; exit 1; }
"$quorvane" >"$scratch/out" 2>&1 &
program=$!
cleanup() {
  kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
  echo "SessionEventsApp: $*"
  echo "--- program output"; cat "$scratch/out"
  echo "--- journal"; "$quorvane" journal || true
  exit 1
}
waitFor() {  # waitFor SECONDS COMMAND...
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
}
journalHas() { "$quorvane" journal 2>/dev/null | grep -qF -- "$1"; }
inhibitors() {
  echo inhibitors >&"${FAKE[1]}"
  read -r -t 5 answer <&"${FAKE[0]}"
  echo "$answer"
}
inhibitorsAre() { [ "$(inhibitors)" = "$1" ]; }

waitFor 30 grep -q "Quorvane is running." "$scratch/out" || fail "the program did not start"
# The bus is watched after the first paint; it takes its inhibitor then.
waitFor 10 inhibitorsAre "1 taken, 0 released" ||
  fail "no delay inhibitor was taken: $(inhibitors)"

# The session's signals are subscribed once logind has named the session:
# lock until it is seen (a second lock of a locked session is no event).
lockSeen() {
  echo lock >&"${FAKE[1]}"
  sleep 0.1
  journalHas "Session  system event  com.apple.screenIsLocked"
}
waitFor 10 lockSeen || fail "the lock was not reported"
# One line without a count: a repeat would be folded into it as "×2".
[ "$("$quorvane" journal | grep -c screenIsLocked)" = 1 ] &&
  ! "$quorvane" journal | grep screenIsLocked | grep -q '×' || fail "a lock was reported twice"
waitFor 10 journalHas "AutoHideDockTask  preference  defaults  write com.apple.dock autohide -bool true" ||
  fail "the lock's rule did not run"

echo sleep >&"${FAKE[1]}"
waitFor 10 journalHas "Session  system event  NSWorkspaceWillSleepNotification" || fail "sleep was not reported"
waitFor 10 journalHas "ShowHiddenFilesTask  preference  defaults  write com.apple.finder AppleShowAllFiles -bool true" ||
  fail "the sleep rule did not run"
# Released once the rule's command had run, well before the 5-second cap.
waitFor 3 inhibitorsAre "1 taken, 1 released" ||
  fail "the inhibitor was not released: $(inhibitors)"
echo wake >&"${FAKE[1]}"
waitFor 10 journalHas "Session  system event  NSWorkspaceDidWakeNotification" || fail "waking was not reported"
waitFor 3 inhibitorsAre "2 taken, 1 released" || fail "no new inhibitor after waking: $(inhibitors)"

# With no system bus, the session's screen saver is still heard.
kill "$program"
wait "$program" 2>/dev/null || true
DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent/no-system-bus "$quorvane" >"$scratch/out" 2>&1 &
program=$!
waitFor 30 grep -q "Quorvane is running." "$scratch/out" || fail "the program did not start again"
saverSeen() {
  echo saver-off >&"${FAKE[1]}"
  echo saver-on >&"${FAKE[1]}"
  sleep 0.1
  journalHas "Session  system event  com.apple.screensaver.didstart"
}
waitFor 10 saverSeen || fail "without a system bus the screen saver was not reported"
echo "SessionEventsApp: passed"
