#!/usr/bin/env bash
# How many of the game's answers a player hears whole, at a person's pace:
# Orca speaking through a stand-in synthesiser that takes as long as real
# speech and logs only what it spoke to its end, keys 1.5 s apart (0.3 s
# inside a burst). An answer is the last thing said after a key, before the
# next one, that is not Orca's echo of a key: the game's own phrase where it
# goes to the speech server itself, Orca's announcement of it where it goes
# through the screen reader. It is heard whole when the stand-in finished it.
#   heard.sh <program folder> <work folder> [key echo: true|false] [Orca's rate 0..99] [desktop|hand]
# desktop: Orca as GNOME starts it, with the screen-reader setting on;
# hand: Orca started from a terminal, which only switches the bus on.
# Prints the counts, the rate the answers were spoken at and the longest
# landing phrase; exits non-zero below 90 % of the keys followed by a pause.
set -euo pipefail
if [[ -z ${ORCA_WALK_BUS:-} ]]; then
  ORCA_WALK_BUS=1 GSETTINGS_BACKEND=memory XDG_RUNTIME_DIR=$(mktemp -d) exec dbus-run-session -- "$0" "$@"
fi
here=$(cd "$(dirname "$0")" && pwd)
source "$here/orca-session.sh"
source "$here/../../scripts/helpers.sh"
source_dir=$1
work=$2
echo=${3:-true}
rate=${4:-75}
start=${5:-desktop}
rm -rf "$work"
mkdir -p "$work/game"
copy_program "$source_dir" "$work/game"

trap orca_session_cleanup EXIT
fail() {
  echo "heard: $*" >&2
  exit 1
}

ORCA_SYNTH=standin ORCA_KEY_ECHO=$echo ORCA_RATE=$rate orca_session_start "$work" || fail "no desktop"
hear "Screen reader on|Bildschirmleser" 30 >/dev/null || fail "Orca did not start"
[[ $start == desktop ]] && screen_reader_setting Set org.a11y.Status ScreenReaderEnabled '<true>' >/dev/null
(cd / && exec "$work/game/MVKubrin") >"$work/log/game.out" 2>&1 &
game=$!
main=$(xwindow '^MVKubrin$' 30) || fail "no main window"
xdotool windowfocus --sync "$main"
hear "Spielfeld" 30 >/dev/null || fail "the focused playfield was not read"
sleep 3

# The bursts: a new game, paused so that only keys land pieces, then moves,
# turns, drops and landings; 39 keys, 30 of them followed by a pause.
groups=(n p Left "Left Left" Right Up Down "Up Up" "Right Right" 0 space Left Up 0 space
  "Right Right Right" Down "0 space" "Left Left" Up 0 space Right "Down Down" 0 space Left "Up Up" 0 space)
keys=$work/keys.txt
: >"$keys"
# Sleeps until the seconds given after the last key, whatever looking at the
# log took meanwhile.
last=$(date +%s.%N)
until_after() { sleep "$(awk -v last="$last" -v wait="$1" -v now="$(date +%s.%N)" 'BEGIN {w = last + wait - now; print (w > 0 ? w : 0)}')"; }
for group in "${groups[@]}"; do
  read -r -a pressed <<<"$group"
  for ((i = 0; i < ${#pressed[@]}; i++)); do
    paused=$((i == ${#pressed[@]} - 1))
    count="$(game_said_all | wc -l) $(said_all | wc -l)"
    ((i > 0)) && until_after 0.3
    last=$(date +%s.%N)
    xdotool key "${pressed[i]}"
    echo "$last $count $paused ${pressed[i]}" >>"$keys"
  done
  until_after 1.5
done
echo "$(date +%s.%N) $(game_said_all | wc -l) $(said_all | wc -l) 0 end" >>"$keys"
# Long enough for the last answers to end.
sleep 6
game_said_all >"$work/game-said.txt"
said_all >"$work/said.txt"

python3 - "$keys" "$work/game-said.txt" "$work/said.txt" "$work/log/heard.txt" "$echo" "$rate" "$start" <<'PYTHON'
import re
import sys
keys = [line.split(" ", 4) for line in open(sys.argv[1]).read().splitlines()]
game_said = open(sys.argv[2], encoding="utf-8").read().splitlines()
# Orca 48 echoes some keys without markup, so they are not the game's own.
echoed = re.compile(r"\s*(space|[a-z0-9]|left|right|up|down|leer|links|rechts|hoch|runter)\s*", re.I)
# Without a phrase of its own, the game spoke through the screen reader:
# then every line counts but Orca's echo of a key.
direct = any(not echoed.fullmatch(line) for line in game_said)
said = game_said if direct else open(sys.argv[3], encoding="utf-8").read().splitlines()
column = 1 if direct else 2
heard = []
for line in open(sys.argv[4], encoding="utf-8").read().splitlines():
    started, ended, rate, text = line.split(" ", 3)
    heard.append((float(started), int(rate), text))
whole = whole_paused = paused = 0
rates = set()
landing = ""
cut = []
for index in range(len(keys) - 1):
    time, count, is_paused, key = float(keys[index][0]), int(keys[index][column]), keys[index][3] == "1", keys[index][4]
    following = float(keys[index + 1][0])
    answers = [line.strip() for line in said[count:int(keys[index + 1][column])] if not echoed.fullmatch(line)]
    paused += is_paused
    if not answers:
        cut.append("%s: no answer" % key)
        continue
    answer = answers[-1]
    # A landing names the next piece, then the row the last one landed on.
    if re.search(r"Spalte \d+\. Zeile", answer) and len(answer) > len(landing):
        landing = answer
    done = [rate for started, rate, text in heard if text == answer and time <= started < following]
    if done:
        whole += 1
        whole_paused += is_paused
        rates.update(done)
    elif is_paused:
        cut.append("%s: %s" % (key, answer))
count = len(keys) - 1
print("key echo %s, Orca's rate %s, Orca started %s, phrases %s: %d of %d answers heard whole; %d of %d keys followed by a pause"
      % (sys.argv[5], sys.argv[6], "by hand" if sys.argv[7] == "hand" else "as the desktop starts it",
         "to the speech server" if direct else "through Orca",
         whole, count, whole_paused, paused))
print("the answers spoken at rate %s; the longest landing, %d letters: %s"
      % (", ".join(str(r) for r in sorted(rates)) or "-", len(landing), landing))
for line in cut:
    print("  not heard whole after " + line)
sys.exit(0 if whole_paused * 10 >= paused * 9 else 1)
PYTHON
