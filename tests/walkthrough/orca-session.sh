# A screen reader's desktop of the walk's own: Xvfb and openbox, a speech
# server that logs every message it queues, and Orca with the settings asked
# for. Sourced, not run, inside a session bus of its own (dbus-run-session)
# and with XDG_RUNTIME_DIR a fresh folder.
#
#   ORCA_KEY_ECHO=false|true  Orca's key echo (true is how Orca ships)
#   ORCA_RATE=0..99           Orca's speech rate (50 is its default)
#   ORCA_SYNTH=espeak|standin speech through espeak-ng into a sound server of
#                             its own, or through the stand-in synthesiser,
#                             which logs what it spoke to its end in
#                             $work/log/heard.txt
#   orca_session_start WORK   then: said_all, game_said_all, listen, since, hear
#   orca_session_stop         or the exit trap orca_session_cleanup
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xsession.sh"

ORCA_SESSION_PIDS=()
orca_session_wait_for() {
  local _
  for _ in $(seq 200); do [[ -e $1 ]] && return 0; sleep 0.05; done
  return 1
}

orca_session_start() {
  local work=$1 here
  here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
  mkdir -p "$work/speechd/modules" "$work/orca" "$work/log"
  xsession_start --wm
  # The output modules open the sound output even when they never play.
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit \
    -L module-null-sink -L module-native-protocol-unix >"$work/log/pulse.out" 2>&1 &
  ORCA_SESSION_PIDS+=($!)
  orca_session_wait_for "$XDG_RUNTIME_DIR/pulse/native" || { echo "no sound server" >&2; return 1; }
  cp -r /etc/speech-dispatcher/. "$work/speechd/"
  if [[ ${ORCA_SYNTH:-espeak} == standin ]]; then
    cat >"$work/speechd/modules/standin.conf" <<CONF
GenericExecuteSynth "printf %s \'\$DATA\' | $here/standin-synth.py \$RATE $work/log/heard.txt"
GenericRateAdd 0
GenericRateMultiply 100
GenericRateForceInteger 1
GenericDelimiters "\\"
GenericMaxChunkLength 10000
GenericLanguage "de" "de" "utf-8"
AddVoice "de" "MALE1" "de"
CONF
    cat >>"$work/speechd/speechd.conf" <<'CONF'
AddModule "standin" "sd_generic" "standin.conf"
DefaultModule standin
DefaultLanguage "de"
AudioOutputMethod "pulse"
CONF
  else
    cat >>"$work/speechd/speechd.conf" <<'CONF'
DefaultModule espeak-ng
DefaultLanguage "de"
AudioOutputMethod "pulse"
CONF
  fi
  speech-dispatcher -s -t 0 -l 5 -L "$work/log" -C "$work/speechd" >"$work/log/speechd.out" 2>&1 &
  ORCA_SESSION_PIDS+=($!)
  orca_session_wait_for "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" || { echo "no speech server" >&2; return 1; }
  ORCA_SESSION_SPEECH_LOG=$work/log/speech-dispatcher.log

  local echo=${ORCA_KEY_ECHO:-false} rate=${ORCA_RATE:-50} server=null
  # Orca speaks through the stand-in by name, as a player picks a synthesiser.
  [[ ${ORCA_SYNTH:-espeak} == standin ]] && server='["standin", "standin"]'
  local voice="{\"default\": {\"established\": false, \"rate\": $rate, \"family\": {\"lang\": \"de\", \"dialect\": \"\", \"name\": null}}}"
  local settings="\"enableKeyEcho\": $echo, \"enableEchoByCharacter\": false, \"enableEchoByWord\": false, \"voices\": $voice, \"speechServerInfo\": $server"
  [[ $echo == true ]] && settings="\"enableKeyEcho\": true, \"voices\": $voice, \"speechServerInfo\": $server"
  cat >"$work/orca/user-settings.conf" <<CONF
{"general": {$settings, "startingProfile": ["Default", "default"]},
 "profiles": {"default": {"profile": ["Default", "default"], $settings}},
 "pronunciations": {}, "keybindings": {}}
CONF
  # Orca refuses to start while any process of the same user is called orca,
  # on whatever display and bus; this one has its own of both, so the walk
  # leaves out that check and runs beside other walks and other desktops.
  # It is called orca, as a screen reader started by hand is.
  /usr/bin/python3 - -u "$work/orca" --debug-file="$work/log/orca.log" >"$work/log/orca.out" 2>&1 <<'PYTHON' &
import ctypes
import sys
ctypes.CDLL(None).prctl(15, b"orca", 0, 0, 0)
sys.argv[0] = "orca"
launcher = {"__name__": "orca_walk"}
exec(compile(open("/usr/bin/orca").read(), "/usr/bin/orca", "exec"), launcher)
launcher["otherOrcas"] = lambda: []
sys.exit(launcher["main"]())
PYTHON
  ORCA_SESSION_PIDS+=($!)
}

orca_session_stop() {
  local i
  for ((i = ${#ORCA_SESSION_PIDS[@]} - 1; i >= 0; i--)); do kill "${ORCA_SESSION_PIDS[i]}" 2>/dev/null || true; done
  xsession_stop
}

# The game, when one was started into $game, then the whole desktop and the
# runtime folder: the walks' exit trap.
game=""
orca_session_cleanup() {
  [[ -n $game ]] && kill "$game" 2>/dev/null
  orca_session_stop
  rm -rf "$XDG_RUNTIME_DIR"
}

# As a screen reader started from the desktop's settings leaves the
# accessibility bus: the screen-reader setting on. Started by hand, Orca
# switches only the bus on.
screen_reader_setting() {
  gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
    --method org.freedesktop.DBus.Properties."$@"
}

# Every message the speech server queued, one a line, markup taken out; the
# game's own are those without markup, since Orca sends all of its as SSML.
said_all() {
  grep -a 'Queueing message |' "$ORCA_SESSION_SPEECH_LOG" 2>/dev/null | sed -e 's/.*Queueing message |//' -e 's/| with priority.*//' \
    -e 's/<[^>]*>//g' || true
}
game_said_all() {
  grep -a 'Queueing message |' "$ORCA_SESSION_SPEECH_LOG" 2>/dev/null | grep -av 'Queueing message |<speak>' \
    | sed -e 's/.*Queueing message |//' -e 's/| with priority.*//' || true
}
mark=0
# Notes how much has been said, so that the next check hears only what follows.
listen() { mark=$(said_all | wc -l); }
since() { said_all | tail -n +$((mark + 1)); }
# Waits until something said since the last listen matches the pattern
# (case ignored), for up to the seconds given (15 by default); prints the
# line that matched.
hear() {
  local pattern=$1 seconds=${2:-15} deadline line
  deadline=$(($(date +%s) + seconds))
  while (($(date +%s) <= deadline)); do
    line=$(since | grep -i -m1 -E -- "$pattern") && { echo "$line"; return 0; }
    sleep 0.1
  done
  return 1
}
