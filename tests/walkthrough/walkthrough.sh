#!/usr/bin/env bash
# A player's walk through the real program under a private X server: start
# it, open the help, find the hall of fame still empty, show the preview,
# start a game with N, drop pieces with 0 and space until the game ends,
# enter a name, open the hall of fame and read the name there, check the
# file, close with Esc. Every window's title is read back as the window
# system has it. The program is seen only through its windows, screenshots
# and files.
#   walkthrough.sh <program folder> <work folder> [--wm]
#       a copy of the program in a folder of its own: Fame.sav beside it
#   walkthrough.sh --installed <work folder> [--wm]
#       the installed command, as a player who is not root: Fame.sav in the
#       player's own data folder
# With --wm openbox manages the windows, and the walk also checks what it
# lets the player do with them. The copy of the program is also read as a
# screen reader reads it, over an accessibility bus of the walk's own.
set -euo pipefail
# xdotool matches titles (the help window's holds an en dash) in the
# locale's character set: a UTF-8 one, whatever the caller has set.
export LC_ALL=C.UTF-8
# The accessibility bus keeps its socket in the runtime folder: one of the
# walk's own, so that walks running side by side never share a bus.
if [[ $1 != --installed && -z ${WALKTHROUGH_BUS:-} ]]; then
  WALKTHROUGH_BUS=1 XDG_RUNTIME_DIR=$(mktemp -d) exec dbus-run-session -- "$0" "$@"
fi
source "$(dirname "$0")/../../scripts/xsession.sh"
source "$(dirname "$0")/../../scripts/helpers.sh"
installed=false
if [[ $1 == --installed ]]; then
  installed=true
  shift
else
  source_dir=$1
  shift
fi
work=$1
wm=${2:-}
name=WALKTHROUGH

rm -rf "$work"
mkdir -p "$work/game" "$work/shots"
if $installed; then
  # A player with a home of their own, which root may look into.
  home=$(mktemp -d)
  chmod 755 "$home"
  as_root chown nobody "$home"
  launch() { as_player "$home" /usr/games/mvkubrin; }
  fame="$home/.local/share/MVKubrin/Fame.sav"
else
  # A copy of its own, so that the hall of fame is written there and nowhere else.
  copy_program "$source_dir" "$work/game"
  launch() { cd / && QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 exec "$work/game/MVKubrin"; }
  fame="$work/game/Fame.sav"
fi

xsession_start $wm
game=""
cleanup() {
  [[ -n $game ]] && stop_job "$game"
  xsession_stop
  if $installed; then as_root rm -rf "$home"; else rm -rf "$XDG_RUNTIME_DIR"; fi
}
trap cleanup EXIT

fail() { echo "walkthrough: $*" >&2; exit 1; }
# What a screen reader reads of the game (atspi.py says what it checks); the
# installed game runs as another user, outside the walk's bus.
read_aloud() {
  $installed || "$(dirname "$0")/atspi.py" "$@" || fail "a screen reader would not read the $1 window right"
}
shot() { import -window root "$work/shots/$1.png"; }
# Runs a check until it holds, for up to thirty seconds: a loaded machine
# may take its time to save or to open a window.
eventually() {
  for _ in $(seq 600); do "$@" && return 0; sleep 0.05; done
  return 1
}
# The title bar shows exactly the caption: nothing appended to it.
expect_title() {
  local title
  title=$(xprop_value "$1" _NET_WM_NAME)
  [[ $title == "\"$2\"" ]] || fail "the window titled $2 reads $title"
}
# A window of fixed size says so, and a window manager offers no way to
# resize or maximise it.
expect_fixed_size() {
  local hints actions
  hints=$(xprop -id "$1" WM_NORMAL_HINTS)
  [[ $(sed -n 's/.*minimum size: //p' <<<"$hints") == "$(sed -n 's/.*maximum size: //p' <<<"$hints")" ]] \
    || fail "$2 may change its size: $hints"
  [[ -z $wm ]] && return 0
  actions=$(xprop_value "$1" _NET_WM_ALLOWED_ACTIONS)
  [[ $actions != *RESIZE* && $actions != *MAXIMIZE* ]] || fail "$2 may be resized or maximised: $actions"
}

launch >"$work/game.log" 2>&1 &
game=$!
main=$(xwindow '^MVKubrin$') || fail "no main window: $(cat "$work/game.log")"
expect_title "$main" MVKubrin
expect_fixed_size "$main" "the main window"
xdotool windowfocus --sync "$main"
shot start
read_aloud main

# The help file is found beside the program, wherever it was started from.
xdotool key F1
help=$(xwindow '^MVKubrin – Hilfe$') || fail "F1 opens no help window"
expect_title "$help" "MVKubrin – Hilfe"
# It stays open behind the windows to come; the program still ends with its
# main window.
xdotool windowfocus --sync "$main"

# The hall of fame is still empty: a message box says so, under the
# application's title.
xdotool key alt+s
sleep 0.3
xdotool key l
empty=$(xwindow '^Morvane Kubrin$') || fail "no message about the empty hall of fame"
expect_title "$empty" "Morvane Kubrin"
xdotool windowfocus --sync "$empty"
xdotool key Return
eventually bash -c "! xdotool search --onlyvisible --name '^Morvane Kubrin\$' >/dev/null" || fail "the message stays"

# The preview: a utility window of the main one, 80 x 80 inside, its frame at
# (50, 50); it leaves the keyboard with the game.
xdotool windowfocus --sync "$main"
xdotool key v
preview=$(xwindow '^Vorschau$') || fail "no preview window"
expect_title "$preview" Vorschau
type=$(xprop_value "$preview" _NET_WM_WINDOW_TYPE)
[[ $type == _NET_WM_WINDOW_TYPE_UTILITY* ]] || fail "the preview is of the type $type"
[[ $(xprop_value "$preview" WM_TRANSIENT_FOR) == "window id # $(printf '0x%x' "$main")" ]] \
  || fail "the preview is not transient for the main window: $(xprop -id "$preview" WM_TRANSIENT_FOR)"
expect_fixed_size "$preview" "the preview"
eval "$(xgeometry "$preview")"
[[ ${WIDTH}x$HEIGHT == 80x80 ]] || fail "the preview is ${WIDTH}x$HEIGHT inside"
eval "$(xgeometry "$(xframe "$preview")")"
[[ $X,$Y == 50,50 ]] || fail "the preview's frame stands at $X,$Y"
shot preview
read_aloud preview

xdotool key --delay 50 n
entry=""
for piece in $(seq 60); do
  xdotool key --delay 30 0 space
  if entry=$(xdotool search --onlyvisible --name '^Eingabe$' 2>/dev/null | head -1) && [[ -n $entry ]]; then
    break
  fi
done
[[ -n $entry ]] || entry=$(xwindow '^Eingabe$') || fail "no name entry after 60 pieces"
# A player does not stop at once.
xdotool key --delay 30 0 space 0
expect_title "$entry" Eingabe
shot name-entry
# The 0 and space hammered until and after the box appeared stay out of its
# field.
read_aloud entry
xdotool windowfocus --sync "$entry"
# The box takes no key in the moment after it appeared.
sleep 0.7
xdotool type --delay 40 "$name"
xdotool key Return
sleep 0.5

eventually test -f "$fame" || fail "no $fame"
eventually grep -qaE "^[0-9]{7};$name"$'\r'"\$" "$fame" || fail "Fame.sav lacks the entry: $(od -c "$fame" | head -3)"

hall=""
for _ in $(seq 5); do
  xdotool windowfocus --sync "$main"
  xdotool key alt+s
  sleep 0.3
  xdotool key l
  hall=$(xwindow '^Bestenliste$' 6) && break
  xdotool key Escape # a menu that was still opening
done
[[ -n $hall ]] || fail "no hall of fame window"
expect_title "$hall" Bestenliste
expect_fixed_size "$hall" "the hall of fame"
read_aloud hall "$name"
sleep 0.5
shot hall-of-fame
xpicture "$hall" "$work/shots/hall.png"
/usr/bin/convert "$work/shots/hall.png" -scale 300% -colorspace Gray "$work/shots/hall-crop.png"
tesseract "$work/shots/hall-crop.png" "$work/shots/hall-text" >/dev/null 2>&1
grep -q "$name" "$work/shots/hall-text.txt" || fail "the name is not to be read in the hall of fame: $(tr '\n' ' ' <"$work/shots/hall-text.txt")"

xdotool windowfocus --sync "$hall"
xdotool key Escape
sleep 0.3
xdotool windowfocus --sync "$main"
xdotool key Escape
for _ in $(seq 100); do kill -0 "$game" 2>/dev/null || break; sleep 0.05; done
kill -0 "$game" 2>/dev/null && fail "Esc did not end the program"
game=""

# Another running copy holds the hall of fame's lock while the player
# finishes a game, enters a name and quits at once; the other copy lets go
# three seconds later. The entry must not be lost without a word: the
# program waits, or asks whether to wait longer (the walk says "Ja").
late=SPAETER
release="$(dirname "$fame")/release"
holder() {
  python3 - "$fame.lock" "$release" <<'PY'
import fcntl, os, socket, sys, time
lock, release = sys.argv[1:]
# What a running copy's lock file holds: its process, its program (left
# empty: any live process counts) and its host.
handle = os.open(lock, os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o644)
os.write(handle, f"{os.getpid()}\n\n{socket.gethostname()}\n".encode())
fcntl.flock(handle, fcntl.LOCK_EX | fcntl.LOCK_NB)
while not os.path.exists(release):
    time.sleep(0.05)
os.unlink(lock)
os.unlink(release)
PY
}
if $installed; then as_player "$home" bash -c "$(declare -f holder); fame='$fame' release='$release' holder" &
else holder & fi
holding=$!
eventually test -f "$fame.lock" || fail "the other copy's lock was not made"
launch >"$work/game-late.log" 2>&1 &
game=$!
main=$(xwindow '^MVKubrin$') || fail "no main window the second time: $(cat "$work/game-late.log")"
xdotool windowfocus --sync "$main"
xdotool key --delay 50 n
entry=""
for piece in $(seq 60); do
  xdotool key --delay 30 0 space
  entry=$(xdotool search --onlyvisible --name '^Eingabe$' 2>/dev/null | head -1) && [[ -n $entry ]] && break
done
[[ -n $entry ]] || entry=$(xwindow '^Eingabe$') || fail "no name entry after 60 pieces the second time"
xdotool windowfocus --sync "$entry"
sleep 0.7
xdotool type --delay 40 "$late"
xdotool key Return
xdotool windowfocus --sync "$main"
xdotool key Escape
( sleep 3; touch "$release" ) &
sleep 1
grep -qa ";$late" "$fame" && fail "the entry was saved while another copy held the lock"
kill -0 "$game" 2>/dev/null || fail "the program ended at once with the entry unsaved"
asked=false
for _ in $(seq 300); do
  kill -0 "$game" 2>/dev/null || break
  if box=$(xdotool search --onlyvisible --name '^Bestätigen$' 2>/dev/null | head -1) && [[ -n $box ]]; then
    asked=true
    shot asked-at-quit
    xdotool windowfocus --sync "$box"
    xdotool key Return
  fi
  sleep 0.1
done
kill -0 "$game" 2>/dev/null && fail "the program did not end after the other copy let go"
game=""
wait "$holding" || fail "the other copy's lock could not be held"
grep -qaE "^[0-9]{7};$late"$'\r'"\$" "$fame" || fail "the entry made before quitting is lost: $(od -c "$fame" | head -3)"
grep -qaE "^[0-9]{7};$name"$'\r'"\$" "$fame" || fail "the first entry is gone"
echo "walkthrough: played to a game end, entered $name, found it in the hall of fame and in Fame.sav"
echo "walkthrough: quit while another copy held the lock; $late was saved$($asked && echo ' after the player was asked')"
