#!/usr/bin/env bash
# Checks an installed Quorvane as a new user would meet it: the files in
# place, the version, the catalogue, a toggle switched on and off again
# through the stand-in tools found from the installed program, the manual
# and the bash completions. Everything it writes goes to a temporary home.
# Usage: tools/check-install.sh PREFIX   (/usr for the installed package)
set -euo pipefail
prefix="$(cd "${1:?usage: check-install.sh PREFIX}" && pwd)"
program="$prefix/bin/quorvane"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
export HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/run" XDG_DATA_HOME="$scratch/data"
export XDG_CONFIG_HOME="$scratch/config" XDG_STATE_HOME="$scratch/state" XDG_CACHE_HOME="$scratch/cache"
unset QUORVANE_SIM_HOME DISPLAY WAYLAND_DISPLAY
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
cd "$scratch"

fail() { echo "check-install: $*" >&2; exit 1; }

for file in bin/quorvane libexec/quorvane/defaults libexec/quorvane/simtools \
    libexec/quorvane/quorvane-sound libexec/quorvane/quorvane-camera \
    libexec/quorvane/libquorvane_network.so libexec/quorvane/libquorvane_html.so libexec/quorvane/libquorvane_gio.so libexec/quorvane/quorvane-recognize \
    libexec/quorvane/libquorvane_x11.so \
    share/quorvane/emoji.json share/quorvane/emoji.json.LICENSE \
    share/quorvane/effects/confetti.json share/quorvane/effects/snow.json \
    share/applications/com.tarnvell.Quorvane.desktop \
    share/metainfo/com.tarnvell.Quorvane.metainfo.xml \
    share/icons/hicolor/16x16/apps/com.tarnvell.Quorvane.png \
    share/icons/hicolor/256x256/apps/com.tarnvell.Quorvane.png \
    share/bash-completion/completions/quorvane share/man/man1/quorvane.1.gz; do
  [ -f "$prefix/$file" ] || fail "missing $prefix/$file"
done

"$program" --version | grep -q '^Quorvane [0-9]' || fail "no version"
"$program" list --json >"$scratch/list.json"
[ "$(wc -l <"$scratch/list.json")" -ge 90 ] || fail "the catalogue lists $(wc -l <"$scratch/list.json") tweaks"
grep -q '"id":"ShowHiddenFilesTask"' "$scratch/list.json" || fail "no Show hidden files in the list"

# A preference toggle runs the stand-in `defaults` from libexec/quorvane.
"$program" toggle "Show hidden files" on >/dev/null
"$program" toggle "Show hidden files" off >/dev/null
journal="$("$program" journal)"
grep -q 'defaults  write com.apple.finder AppleShowAllFiles -bool true' <<<"$journal" ||
  fail "switching on wrote nothing: $journal"
grep -q 'defaults  write com.apple.finder AppleShowAllFiles -bool false' <<<"$journal" ||
  fail "switching off wrote nothing: $journal"
[ "$(readlink "$XDG_DATA_HOME/quorvane-sim/bin/defaults")" = "$prefix/libexec/quorvane/defaults" ] ||
  fail "the simulated Mac's defaults is not the installed one"
# A power toggle runs the installed stand-in power tools.
"$program" toggle "Low Power Mode" on >/dev/null
"$program" sim power | grep -q 'Low power mode: on' || fail "low power mode did not reach the simulated Mac"
[ "$(readlink "$XDG_DATA_HOME/quorvane-sim/bin/pmset")" = "$prefix/libexec/quorvane/simtools" ] ||
  fail "the simulated Mac's pmset is not the installed one"
"$program" help toggle | grep -q 'quorvane toggle "Dark Mode" on' || fail "no example in help toggle"

# Started from the package, it leaves no entry of its own in the user's
# folders (the package's takes the links), and finds nothing to take away.
QT_QPA_PLATFORM=offscreen "$program" >"$scratch/started.txt" 2>&1 &
started=$!
for _ in $(seq 1 200); do
  grep -q 'Quorvane is running' "$scratch/started.txt" && break
  kill -0 "$started" 2>/dev/null || break
  sleep 0.1
done
grep -q 'Quorvane is running' "$scratch/started.txt" || fail "it did not start: $(cat "$scratch/started.txt")"
# Answered by the instance only once its start-up steps have run.
"$program" set ShowHiddenFilesTask off >/dev/null || fail "the running instance did not answer"
kill "$started" 2>/dev/null || true
wait "$started" 2>/dev/null || true
[ ! -e "$XDG_DATA_HOME/applications/com.tarnvell.Quorvane.desktop" ] ||
  fail "a packaged start wrote an application entry of the user's own"
"$program" --uninstall-user-files | grep -q "^Nothing of Quorvane's" || fail "--uninstall-user-files found something"

zcat "$prefix/share/man/man1/quorvane.1.gz" | grep -q '^\.TH QUORVANE 1' || fail "the manual has no title"
if command -v groff >/dev/null; then
  warnings="$(zcat "$prefix/share/man/man1/quorvane.1.gz" | groff -man -ww -z 2>&1)"
  [ -z "$warnings" ] || fail "the manual has roff warnings: $warnings"
fi
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/com.tarnvell.Quorvane.desktop"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/com.tarnvell.Quorvane.metainfo.xml" >/dev/null ||
    { appstreamcli validate --no-net "$prefix/share/metainfo/com.tarnvell.Quorvane.metainfo.xml"; fail "metainfo"; }
fi

# The completions, as bash asks for them after a Tab.
PATH="$prefix/bin:$PATH"
# shellcheck source=/dev/null
source "$prefix/share/bash-completion/completions/quorvane"
complete_words() {
  COMP_WORDS=("$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _quorvane
  printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' '
}
expect() {
  local want=$1
  shift
  local got
  got="$(complete_words "$@")"
  [ "$got" = "$want" ] || fail "completing '$*' gave '$got', not '$want'"
}
expect "sim " quorvane si
expect "grant " quorvane sim gr
expect "accessibility screenRecording " quorvane sim grant ""
expect "off on " quorvane toggle "Dark\ Mode" ""
expect "--group --json --runnable --search --toggles " quorvane list --
expect "Empty\\ Trash " quorvane run "Empty T"
expect "activate enhanced-ui hang hide launch quit " quorvane sim app ""
echo "check-install: $prefix is whole"
