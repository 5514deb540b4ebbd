#!/usr/bin/env bash
# A player's walk through the real program under a private X server: start
# it, start a game with N, drop pieces with 0 and space until the game ends,
# enter a name, open the hall of fame and read the name there, check the
# file beside the executable, close with Esc. The program is seen only
# through its windows, screenshots and files.
#   walkthrough.sh <program folder> <work folder>
set -euo pipefail
source_dir=$1
work=$2
name=WALKTHROUGH

rm -rf "$work"
mkdir -p "$work/game" "$work/shots"
# A copy of its own, so that the hall of fame is written there and nowhere else.
cp "$source_dir"/MVKubrin "$source_dir"/*.wav "$source_dir"/MVKubrin.hlp "$work/game/"

displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
xvfb=$!
game=""
cleanup() {
  [[ -n $game ]] && kill "$game" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -f "$displayfile"
}
trap cleanup EXIT
for _ in $(seq 100); do [[ -s $displayfile ]] && break; sleep 0.05; done
export DISPLAY=:$(head -1 "$displayfile")
# The tests around it run offscreen; this one needs the real window system.
export QT_QPA_PLATFORM=xcb

fail() { echo "walkthrough: $*" >&2; exit 1; }
shot() { import -window root "$work/shots/$1.png"; }
# The first visible window whose title matches, within a few seconds (or
# the number of tenths given second).
window() {
  for _ in $(seq $((${2:-100} * 2))); do
    local id
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) || true
    [[ -n $id ]] && { echo "$id"; return 0; }
    sleep 0.05
  done
  return 1
}
# Runs a check until it holds, for up to ten seconds: a loaded machine may
# take its time to save or to open a window.
eventually() {
  for _ in $(seq 200); do "$@" && return 0; sleep 0.05; done
  return 1
}

(cd / && exec "$work/game/MVKubrin") >"$work/game.log" 2>&1 &
game=$!
main=$(window '^MVKubrin$') || fail "no main window"
xdotool windowfocus --sync "$main"
shot start

xdotool key --delay 50 n
entry=""
for piece in $(seq 60); do
  xdotool key --delay 30 0 space
  if entry=$(xdotool search --onlyvisible --name '^Eingabe$' 2>/dev/null | head -1) && [[ -n $entry ]]; then
    break
  fi
done
[[ -n $entry ]] || fail "no name entry after 60 pieces"
shot name-entry
xdotool windowfocus --sync "$entry"
xdotool type --delay 40 "$name"
xdotool key Return
sleep 0.5

fame="$work/game/Fame.sav"
eventually test -f "$fame" || fail "no Fame.sav beside the executable"
eventually grep -qaE "^[0-9]{7};$name"$'\r'"\$" "$fame" || fail "Fame.sav lacks the entry: $(od -c "$fame" | head -3)"

hall=""
for _ in $(seq 5); do
  xdotool windowfocus --sync "$main"
  xdotool key alt+s
  sleep 0.3
  xdotool key l
  hall=$(window '^Bestenliste$' 30) && break
  xdotool key Escape # a menu that was still opening
done
[[ -n $hall ]] || fail "no hall of fame window"
sleep 0.5
shot hall-of-fame
geometry=$(xdotool getwindowgeometry --shell "$hall")
eval "$geometry"
convert=/usr/bin/convert
"$convert" "$work/shots/hall-of-fame.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" -scale 300% \
  -colorspace Gray "$work/shots/hall-crop.png"
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
echo "walkthrough: played to a game end, entered $name, found it in the hall of fame and in Fame.sav"
