#!/usr/bin/env bash
# A blind player's game, heard through a real screen reader: Orca with key
# echo off, speaking through speech-dispatcher and espeak-ng into a sound
# server of the walk's own, on buses of the walk's own, under Xvfb and
# openbox. The walk presses only keys and checks what was said, as the
# speech server logged it: the screen reader's words and the game's own.
#   orca.sh <program folder> <work folder> [desktop|hand]
set -euo pipefail
if [[ -z ${ORCA_WALK_BUS:-} ]]; then
  # Settings stay in memory: nothing of the desktop's own is read or written.
  ORCA_WALK_BUS=1 GSETTINGS_BACKEND=memory XDG_RUNTIME_DIR=$(mktemp -d) exec dbus-run-session -- "$0" "$@"
fi
source "$(dirname "$0")/orca-session.sh"
source "$(dirname "$0")/../../scripts/helpers.sh"
source_dir=$1
work=$2
# desktop: Orca as GNOME starts it, with the screen-reader setting on;
# hand: Orca started from a terminal, which only switches the bus on.
start=${3:-desktop}
rm -rf "$work"
mkdir -p "$work/game"
copy_program "$source_dir" "$work/game"
started=$(date +%s)

trap orca_session_cleanup EXIT
fail() {
  echo "orca walk ($start): $*" >&2
  echo "--- what was said (all of it in $work/said.txt):" >&2
  said_all | tee "$work/said.txt" | tail -40 >&2
  exit 1
}

# Orca with key echo off, so that every word heard after a key is the
# program's answer to it.
ORCA_KEY_ECHO=false orca_session_start "$work" || fail "no desktop"

# Presses a key and waits for the answer that must follow it.
key_hear() {
  local key=$1 pattern=$2
  listen
  xdotool key "$key"
  hear "$pattern" || fail "after $key nothing like /$pattern/ was said"
}

hear "Screen reader on|Bildschirmleser" 30 >/dev/null || fail "Orca did not start"
if [[ $start == desktop ]]; then
  screen_reader_setting Set org.a11y.Status ScreenReaderEnabled '<true>' >/dev/null
else
  [[ $(screen_reader_setting Get org.a11y.Status ScreenReaderEnabled) == *false* ]] || fail "the screen-reader setting is on"
fi

listen
(cd / && exec "$work/game/MVKubrin") >"$work/log/game.out" 2>&1 &
game=$!
main=$(xwindow '^MVKubrin$' 30) || fail "no main window: $(cat "$work/log/game.out")"
xdotool windowfocus --sync "$main"
hear "Spielfeld" 30 >/dev/null || fail "the focused playfield was not read"

# A new game, paused at once so that no step lands a piece during the checks
# below: the keys still act while paused.
line=$(key_hear n "Spalte [0-9]+")
column=$(sed -E 's/.*Spalte ([0-9]+).*/\1/' <<<"$line")
key_hear p "Pause" >/dev/null
# Told that the state changed, Orca 48 reads it after the word "Pause".
sleep 2
moves=$(said_all | wc -l)
for move in Left Left Right; do
  line=$(key_hear "$move" "Spalte [0-9]+")
  now=$(sed -E 's/.*Spalte ([0-9]+).*/\1/' <<<"$line")
  if [[ $move == Left ]]; then expected=$((column > 1 ? column - 1 : 1)); else expected=$((column + 1)); fi
  # A piece against the wall stays and says so.
  [[ $now == "$expected" || ($line == *blockiert* && $now == "$column") ]] \
    || fail "$move from column $column said: $line"
  column=$now
done
key_hear Up "." >/dev/null
key_hear Down "." >/dev/null
# The moves changed the state the playfield describes, yet only "where am
# I" reads all of it: a screen reader told of every change would read it
# after every key.
sleep 1
if said_all | tail -n +$((moves + 1)) | grep -q "Höhen"; then fail "a move made Orca read the whole state"; fi
# Orca's "where am I" reads the whole state from the focused playfield.
listen
xdotool key KP_Enter
for word in Spalte "nächst" "Höhe"; do
  hear "$word" >/dev/null || fail "where am I did not say $word"
done
key_hear s "Geräusche aus" >/dev/null
key_hear s "Geräusche an" >/dev/null
key_hear v "Vorschau an" >/dev/null
key_hear v "Vorschau aus" >/dev/null
key_hear p "Weiter" >/dev/null
key_hear 0 "Zeile" >/dev/null
key_hear space "gelandet|Zeile" >/dev/null

# On to the end: drop and land until the game says it is over.
# The end is read with the box that asks for the name.
listen
entry=""
for _ in $(seq 80); do
  xdotool key --delay 120 0 space
  sleep 1
  entry=$(xdotool search --onlyvisible --name '^Eingabe$' 2>/dev/null | head -1) || true
  [[ -n $entry ]] && break
done
[[ -n $entry ]] || fail "the game did not end with a name entry"
hear "Namen" 20 >/dev/null || fail "the name entry was not read"
over=$(hear "Spiel vorbei, [0-9]+ Punkte" 10) || fail "the end of the game was not said"
score=$(sed -E 's/.*Spiel vorbei, ([0-9]+) Punkte.*/\1/' <<<"$over")
xdotool windowfocus --sync "$entry"
sleep 0.5
xdotool type --delay 80 "Orcaspieler"
xdotool key Return
eventually_gone() {
  local _
  for _ in $(seq 200); do xdotool search --onlyvisible --name '^Eingabe$' >/dev/null 2>&1 || return 0; sleep 0.05; done
  return 1
}
eventually_gone || fail "the name entry stays"
xdotool windowfocus --sync "$main"

# The hall of fame through the menu, opened by a quick Alt+S as a player
# types it. A screen reader gets every key first and Qt delivers it again
# after the answer; the late Alt must not close the menu that Alt+S opened.
windows() { xdotool search --onlyvisible --pid "$game" 2>/dev/null | wc -l; }
listen
xdotool key alt+s
hear "Neu" >/dev/null || fail "Alt+S opened no menu that Orca read"
sleep 1
(($(windows) >= 2)) || fail "the menu opened by Alt+S closed at once"
xdotool key l
hall=$(xwindow '^Bestenliste$' 10) || true
[[ -n $hall ]] || fail "the hall of fame did not open"
hear "Orcaspieler" >/dev/null || fail "the hall of fame did not say the new entry"
hear "$score Punkte" >/dev/null || fail "the score $score was not read as a number"
if since | grep -q "000"; then fail "the hall of fame read padded scores"; fi
xdotool windowfocus --sync "$hall"
xdotool key Escape
for _ in $(seq 200); do xdotool search --onlyvisible --name '^Bestenliste$' >/dev/null 2>&1 || break; sleep 0.05; done
xdotool windowfocus --sync "$main"

# The help, read line by line with the arrow keys.
listen
xdotool key F1
help=$(xwindow '^MVKubrin – Hilfe$' 20) || fail "F1 opens no help window"
xdotool windowfocus --sync "$help"
sleep 1
listen
xdotool key --delay 400 Down Down Down
hear "Willkommen|Spielregeln|Hilfe besteht|Themen" >/dev/null || fail "Down read no help text"

# Left alone, the game uses no processor time, a screen reader listening or not.
ticks() { awk '{print $14 + $15}' "/proc/$game/stat"; }
sleep 1
before=$(ticks)
sleep 5
idle=$(($(ticks) - before))
((idle <= 5)) || fail "the idle game used $idle ticks of processor time in 5 s"

said_all >"$work/said.txt"
errors=$(grep -c "keyEventError" "$work/log/game.out" || true)
echo "orca walk ($start): passed in $(($(date +%s) - started)) s; idle: $idle ticks in 5 s; $errors key events Orca did not answer in time"
