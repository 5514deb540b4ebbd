#!/usr/bin/env bash
# The game in a Wayland session, as a player of sway has it: the compositor
# runs headless as an ordinary user (sway refuses root) with a runtime folder
# of its own, and keys come from a virtual keyboard that stays on the seat.
#   sway.sh <program folder> <virtual-keyboard> <work folder> xwayland|wayland
# xwayland: the session as a desktop starts it, QT_QPA_PLATFORM unset, so
#           the game chooses its platform itself; it must run through Xwayland.
# wayland:  the player asks for the native platform, and that choice wins.
# It checks that keys move the piece, that showing the preview leaves the
# keyboard with the main window and that the preview does not cover the
# well, and that Alt+S shows the game's menu, which then takes its keys.
# Screenshots of each step are left in <work folder>/shots.
set -euo pipefail
source "$(dirname "$0")/../../scripts/helpers.sh"
source_dir=$1
keyboard_program=$2
work=$3
platform=$4

fail() { echo "sway ($platform): $*" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work/shots"
# Everything the player touches lies in a folder of their own, which root
# may look into.
session=$(mktemp -d)
chmod 755 "$session"
copy_program "$source_dir" "$session/game"
cp "$keyboard_program" "$session/virtual-keyboard"
mkdir -m 700 "$session/run"
mkdir "$session/shots"
as_root chown -R nobody "$session"
cat >"$session/config" <<EOF
output HEADLESS-1 resolution 1024x768 position 0,0 bg #406080 solid_color
xwayland enable
exec sh -c 'echo "\$DISPLAY" >$session/display'
EOF

# A command in the player's session, as the player.
in_session() {
  as_player "$session" env -u DISPLAY -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY XDG_RUNTIME_DIR="$session/run" "$@"
}
in_sway() {
  in_session WAYLAND_DISPLAY=wayland-1 SWAYSOCK="$(echo "$session"/run/sway-ipc.*.sock)" "$@"
}

sway=""
game=""
keyboard_pid=""
cleanup() {
  [[ -n $keyboard_pid ]] && stop_job "$keyboard_pid"
  [[ -n $game ]] && stop_job "$game"
  [[ -n $sway ]] && stop_job "$sway"
  cp "$session"/shots/*.png "$work/shots/" 2>/dev/null || true
  as_root rm -rf "$session"
}
trap cleanup EXIT

# Runs a check until it holds, for up to ten seconds.
eventually() {
  for _ in $(seq 100); do "$@" && return 0; sleep 0.1; done
  return 1
}

in_session WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
  sway -c "$session/config" >"$work/sway.log" 2>&1 &
sway=$!
eventually test -S "$session/run/wayland-1" || fail "sway did not start: $(tail -5 "$work/sway.log")"
eventually test -s "$session/display" || fail "sway started no X server for Xwayland"
display=$(cat "$session/display")

# The keyboard stays connected for the whole walk; it answers each chord
# once the compositor has it.
coproc KEYBOARD { in_sway "$session/virtual-keyboard" 2>"$work/keyboard.log"; }
keyboard_pid=$KEYBOARD_PID
key() {
  local answer
  echo "$1" >&"${KEYBOARD[1]}"
  read -r -t 10 answer <&"${KEYBOARD[0]}" || fail "the virtual keyboard did not answer: $(cat "$work/keyboard.log")"
  [[ $answer == "$1" ]] || fail "the virtual keyboard has no $1"
  sleep 0.4
}

# The windows as sway has them: title, whether focused, the client area on
# the screen (x y width height) and the protocol, one window a line.
windows() {
  in_sway swaymsg -t get_tree | /usr/bin/python3 -c '
import json, sys
def walk(node):
    if node.get("type") in ("con", "floating_con") and node.get("name") is not None:
        r, w = node["rect"], node["window_rect"]
        print("%s|%s|%d %d %d %d|%s" % (node["name"], "focused" if node["focused"] else "-",
              r["x"] + w["x"], r["y"] + w["y"], w["width"], w["height"], node.get("shell")))
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child)
walk(json.load(sys.stdin))'
}
focused() { windows | awk -F'|' '$2 == "focused" {print $1}'; }
window() { windows | awk -F'|' -v title="$1" '$1 == title'; }
has_window() { [[ -n $(window "$1") ]]; }
has_focus() { [[ $(focused) == "$1" ]]; }
shot() { in_sway grim "$session/shots/$1.png"; }
# What differs between two screenshots inside a rectangle (x y width height),
# or on the whole screen without one: "width height x y" of the smallest box
# around it, "0 0 0 0" when nothing does. The black border lets a box that
# fills the whole rectangle be told from none.
changed() {
  local crop=()
  [[ -n ${3:-} ]] && crop=(-crop "$(awk '{print $3 "x" $4 "+" $1 "+" $2}' <<<"$3")" +repage)
  /usr/bin/convert "$session/shots/$1.png" "$session/shots/$2.png" "${crop[@]}" -compose difference -composite \
    -threshold 1% -bordercolor black -border 1 -trim -format '%w %h %X %Y\n' info: 2>/dev/null | head -1 |
    tr -d + | awk '{if ($1 <= 1 && $2 <= 1) print "0 0 0 0"; else print $1, $2, $3 - 1, $4 - 1}'
}

game_env=(DISPLAY="$display" XDG_SESSION_TYPE=wayland)
[[ $platform == wayland ]] && game_env+=(QT_QPA_PLATFORM=wayland)
in_sway env "${game_env[@]}" "$session/game/MVKubrin" >"$work/game.log" 2>&1 &
game=$!
eventually has_window MVKubrin || fail "no main window: $(windows) $(cat "$work/game.log")"
case $platform in
  xwayland) protocol=xwayland ;;
  wayland) protocol=xdg_shell ;;
esac
IFS='|' read -r _ _ client shell <<<"$(window MVKubrin)"
[[ $shell == "$protocol" ]] || fail "the game runs on $shell, not on $protocol"
read -r cx cy cw ch <<<"$client"
# The well's panel below the menu bar, whose height is what the client area
# has beyond the window's own 434 pixels.
well="$((cx + 93)) $((cy + ch - 434 + 16)) 199 369"
read -r wx wy ww wh <<<"$well"
eventually has_focus MVKubrin || fail "the main window has no focus: $(windows)"
sleep 0.5
shot start

# The preview appears, and the keyboard stays with the main window.
key v
sleep 0.5
[[ $(focused) == MVKubrin ]] || fail "after V the focus is on $(focused): $(windows)"
shot preview
read -r pw ph px py <<<"$(changed start preview)"
((pw > 0)) || fail "V shows no preview"
((px + pw <= wx || px >= wx + ww || py + ph <= wy || py >= wy + wh)) ||
  fail "the preview (${pw}x$ph at $px,$py) covers the well ($well)"
if [[ $platform == xwayland ]]; then
  [[ "$pw $ph $px $py" == "80 80 50 50" ]] || fail "the preview is ${pw}x$ph at $px,$py, not 80x80 at 50,50"
fi

# Keys move the piece: Left moves it, Right brings it back. The game is
# paused so that nothing else moves, and stepped with space until the piece
# is inside the well.
key n
key p
key space
key space
key space
shot piece
key Left
shot left
key Right
shot right
[[ $(changed piece left "$well") != "0 0 0 0" ]] || fail "Left does not move the piece"
[[ $(changed piece right "$well") == "0 0 0 0" ]] || fail "Right does not bring the piece back"

# Alt+S shows the game's menu, below its menu bar, and the menu takes its
# mnemonic: L opens the hall of fame, still empty, which says so.
key alt+s
shot menu
read -r mw mh mx my <<<"$(changed right menu)"
((mh > 50 && mx >= cx && my >= cy && my < cy + ch - 434 + 8)) ||
  fail "Alt+S shows no menu below the menu bar (${mw}x$mh at $mx,$my)"
/usr/bin/convert "$session/shots/menu.png" -crop "${mw}x$mh+$mx+$my" +repage -scale 300% -colorspace Gray \
  "$work/shots/menu-text.png"
tesseract "$work/shots/menu-text.png" "$work/shots/menu-text" >/dev/null 2>&1
grep -q Bestenliste "$work/shots/menu-text.txt" || fail "the menu reads: $(tr '\n' ' ' <"$work/shots/menu-text.txt")"
key l
eventually has_focus "Morvane Kubrin" || fail "L in the menu opened nothing: $(windows)"
shot message
key Return
eventually has_focus MVKubrin || fail "the message did not close: $(windows)"
# The preview is back where it stood, once the game has the focus again.
sleep 0.5
shot back
[[ $(changed start back "$px $py $pw $ph") != "0 0 0 0" ]] || fail "the preview did not come back after the message"

# Through Xwayland the preview is a window that sway does not manage, so it
# would stand above any program; it steps aside while another one has the
# focus, and is back with the game.
if [[ $platform == xwayland ]]; then
  preview_shown() { in_session DISPLAY="$display" xdotool search --onlyvisible --name '^Vorschau$' >/dev/null; }
  preview_hidden() { ! preview_shown; }
  in_session DISPLAY="$display" xmessage "Ein anderes Programm" >/dev/null 2>&1 &
  other=$!
  eventually has_focus xmessage || fail "the other program has no focus: $(windows)"
  eventually preview_hidden || fail "the preview stays above the other program"
  shot other
  stop_job "$other"
  eventually has_focus MVKubrin || fail "the game has no focus back: $(windows)"
  eventually preview_shown || fail "the preview did not come back with the game"
fi

key Escape
for _ in $(seq 50); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
kill -0 "$game" 2>/dev/null && fail "Esc did not end the program: $(windows)"
game=""
# What the game says is only its own: nothing from Qt about a missing plugin
# or the platform it chose.
if [[ $platform == xwayland ]] && grep -v '^MVKubrin: ' "$work/game.log"; then
  fail "the game printed the lines above"
fi
echo "sway ($platform): keys move the piece, the preview leaves the keyboard with the game and stands" \
  "beside the well, Alt+S shows the menu"
