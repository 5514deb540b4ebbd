#!/usr/bin/env bash
# How much of the game a blind player hears at a deliberate pace: Orca with
# key echo on (as it ships) and the rate given, speaking through
# speech-dispatcher into a stand-in voice that takes as long as real speech
# and notes only what it spoke to its end (timed-voice). Keys come 1.5 s
# apart, or 0.3 s apart within a burst; for every key followed by a pause it
# counts whether the game's answer to it was heard whole.
#   paced.sh <program folder> <work folder> [rate, 75 by default] [by-hand]
# by-hand: Orca as a player starts it from a terminal, which sets only the
# accessibility bus's IsEnabled.
# Prints "paced: N of M answers heard whole"; a measurement, not a check.
set -euo pipefail
if [[ -z ${PACED_BUS:-} ]]; then
  PACED_BUS=1 GSETTINGS_BACKEND=memory XDG_RUNTIME_DIR=$(mktemp -d) exec dbus-run-session -- "$0" "$@"
fi
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/xsession.sh"
source "$here/../../scripts/helpers.sh"
source_dir=$1 work=$2 rate=${3:-75} by_hand=${4:-}
rm -rf "$work"
mkdir -p "$work/game" "$work/speechd/modules" "$work/orca" "$work/log"
copy_program "$source_dir" "$work/game"
pids=()
game=""
cleanup() {
  [[ -n $game ]] && kill "$game" 2>/dev/null
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  xsession_stop
  rm -rf "$XDG_RUNTIME_DIR"
}
trap cleanup EXIT
fail() { echo "paced: $*" >&2; exit 1; }
wait_for() {
  local _
  for _ in $(seq 200); do [[ -e $1 ]] && return 0; sleep 0.05; done
  return 1
}

xsession_start --wm
# The speech server opens a sound device even for a voice that makes none.
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit \
  -L module-null-sink -L module-native-protocol-unix >"$work/log/pulse.out" 2>&1 &
pids+=($!)
wait_for "$XDG_RUNTIME_DIR/pulse/native" || fail "no sound server"
heard=$work/log/heard.txt
: >"$heard"
cp -r /etc/speech-dispatcher/. "$work/speechd/"
cat >"$work/speechd/modules/timed.conf" <<CONF
GenericExecuteSynth "$here/timed-voice $heard \$RATE \'\$DATA\'"
GenericRateAdd 0
GenericRateMultiply 1
GenericDelimiters "~"
GenericMaxChunkLength 2000
AddVoice "de" "MALE1" "de"
AddVoice "en" "MALE1" "en"
CONF
cat >>"$work/speechd/speechd.conf" <<'CONF'
AddModule "timed" "sd_generic" "timed.conf"
DefaultModule timed
DefaultLanguage "de"
AudioOutputMethod "pulse"
CONF
speech-dispatcher -s -t 0 -l 5 -L "$work/log" -C "$work/speechd" >"$work/log/speechd.out" 2>&1 &
pids+=($!)
wait_for "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" || fail "no speech server"
speech_log=$work/log/speech-dispatcher.log

# Orca as it ships, but for the rate.
cat >"$work/orca/user-settings.conf" <<CONF
{"general": {"startingProfile": ["Default", "default"], "voices": {"default": {"established": true, "rate": $rate}}},
 "profiles": {"default": {"profile": ["Default", "default"], "voices": {"default": {"established": true, "rate": $rate}}}},
 "pronunciations": {}, "keybindings": {}}
CONF
/usr/bin/python3 - -u "$work/orca" --debug-file="$work/log/orca.log" >"$work/log/orca.out" 2>&1 <<'PYTHON' &
import sys
sys.argv[0] = "orca"
launcher = {"__name__": "orca_walk"}
exec(compile(open("/usr/bin/orca").read(), "/usr/bin/orca", "exec"), launcher)
launcher["otherOrcas"] = lambda: []
sys.exit(launcher["main"]())
PYTHON
pids+=($!)

said_all() {
  grep -a 'Queueing message |' "$speech_log" 2>/dev/null | sed -e 's/.*Queueing message |//' -e 's/| with priority.*//' \
    -e 's/<[^>]*>//g' || true
}
for _ in $(seq 300); do said_all | grep -q -i -E "Screen reader on|Bildschirmleser" && break; sleep 0.1; done
[[ -z $by_hand ]] && gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
  --method org.freedesktop.DBus.Properties.Set org.a11y.Status ScreenReaderEnabled '<true>' >/dev/null

(cd / && exec "$work/game/MVKubrin") >"$work/log/game.out" 2>&1 &
game=$!
main=$(xwindow '^MVKubrin$' 30) || fail "no main window"
xdotool windowfocus --sync "$main"
sleep 3

# Each entry is one key; a "+" after it means the next key follows within
# the burst, 0.3 s later, else the player listens for 1.5 s.
cycle=(Left Right+ Right Up Down 0 space Left+ Left Up+ Up 0+ space)
keys=(n p)
for _ in 1 2 3 4; do keys+=("${cycle[@]}"); done
keys+=(s)
# For every key followed by a pause: how much had been said before it and
# when it was pressed.
marks=() times=() names=()
for key in "${keys[@]}"; do
  name=${key%+}
  mark=$(said_all | wc -l)
  now=$(date +%s.%N)
  xdotool key "$name"
  if [[ $key == *+ ]]; then
    sleep 0.3
  else
    marks+=("$mark") times+=("$now") names+=("$name")
    sleep 1.5
  fi
done
sleep 4
marks+=("$(said_all | wc -l)")
said_all >"$work/said.txt"

# The answer to a key is the last thing said after it that is not Orca's
# echo of a key; heard whole when the stand-in voice finished it after the key.
whole=0 total=${#names[@]}
for ((i = 0; i < total; i++)); do
  answer=$(sed -n "$((marks[i] + 1)),$((marks[i + 1]))p" "$work/said.txt" |
    grep -v -i -x -E ' *(space|[a-z0-9]|left|right|up|down|leer|links|rechts|hoch|runter) *' | tail -1 | sed 's/^ *//;s/ *$//') || true
  result=missing
  if [[ -n $answer ]]; then
    result=cut
    if awk -v t="${times[i]}" -v a="$answer" '{ s = $1; sub(/^[^ ]* /, ""); gsub(/^ +| +$/, ""); if (s > t && $0 == a) found = 1 } END { exit !found }' "$heard"; then
      result=whole
      whole=$((whole + 1))
    fi
  fi
  printf '%-6s %-5s %s\n' "${names[i]}" "$result" "$answer" >>"$work/answers.txt"
done
echo "paced: $whole of $total answers heard whole (rate $rate${by_hand:+, Orca started by hand}); each in $work/answers.txt"
