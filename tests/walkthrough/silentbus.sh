#!/usr/bin/env bash
# The window comes up and the game plays while the session bus takes every
# connection and never answers: keys, the menu, the hall of fame. A hang, not
# a time, is what this looks for: the bound is generous.
#   silentbus.sh <program folder> <work folder>
set -euo pipefail
source "$(dirname "$0")/../../scripts/xsession.sh"
source "$(dirname "$0")/../../scripts/helpers.sh"
source_dir=$1
work=$2
rm -rf "$work"
mkdir -p "$work/game"
copy_program "$source_dir" "$work/game"

pids=()
cleanup() {
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  xsession_stop
}
trap cleanup EXIT
fail() {
  echo "silent bus: $*" >&2
  exit 1
}

python3 - "$work/bus" <<'PYTHON' &
import socket
import sys
bus = socket.socket(socket.AF_UNIX)
bus.bind(sys.argv[1])
bus.listen(64)
held = []
while True:
    held.append(bus.accept()[0])
PYTHON
pids+=($!)
for _ in $(seq 100); do [[ -S $work/bus ]] && break; sleep 0.05; done
xsession_start --wm

started=$(date +%s%N)
DBUS_SESSION_BUS_ADDRESS=unix:path=$work/bus XDG_RUNTIME_DIR=$work "$work/game/MVKubrin" >"$work/game.out" 2>&1 &
game=$!
pids+=("$game")
main=$(xwindow '^MVKubrin$' 10) || fail "no window within 10 s: $(cat "$work/game.out")"
shown=$((($(date +%s%N) - started) / 1000000))
grep -q "Sitzungsbus antwortet nicht" "$work/game.out" || fail "the silent bus was not reported"

xdotool windowfocus --sync "$main"
xpicture "$main" "$work/before.png"
xdotool key --delay 200 n 0 space 0
sleep 0.5
xpicture "$main" "$work/after.png"
[[ $(md5sum <"$work/before.png") != $(md5sum <"$work/after.png") ]] || fail "the keys changed nothing"

windows() { xdotool search --onlyvisible --pid "$game" 2>/dev/null | wc -l; }
before=$(windows)
xdotool key alt+s
sleep 0.5
(($(windows) > before)) || fail "Alt+S opened no menu"
# The hall of fame, empty: a box that says so.
xdotool key l
for _ in $(seq 100); do (($(windows) > before)) && break; sleep 0.1; done
sleep 0.5
(($(windows) > before)) || fail "the hall of fame did not answer"
xdotool key Escape
for _ in $(seq 100); do (($(windows) <= before)) && break; sleep 0.1; done
(($(windows) <= before)) || fail "the hall of fame did not close"
kill -0 "$game" || fail "the game ended"
echo "silent bus: the window showed after $shown ms, and the game played"
