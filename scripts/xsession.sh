# A private X server for the scripts that look at the real program: the
# walk-through, the screenshots and the start-up benchmark. Sourced, not run.
#
#   source scripts/xsession.sh
#   xsession_start [--wm] [WIDTHxHEIGHTxDEPTH]   Xvfb, with openbox when --wm
#   trap xsession_stop EXIT                      (or call it from your own trap)
#   id=$(xwindow '^MVKubrin$')                   a visible window by its title
#   xprop_value "$id" _NET_WM_NAME               one property, as xprop prints it
#   xpicture "$id" out.png [--frame]             the window's picture
#
# DISPLAY and QT_QPA_PLATFORM=xcb are exported: the tests around these
# scripts run on Qt's offscreen platform, these need the real window system.

XSESSION_PIDS=()
XSESSION_FILES=()
# How often xwindow looks, in seconds; the start-up benchmark looks more often.
XSESSION_POLL=${XSESSION_POLL:-0.05}

xsession_start() {
  local wm=false screen=1024x768x24
  while (($#)); do
    case $1 in
      --wm) wm=true ;;
      *) screen=$1 ;;
    esac
    shift
  done
  local displayfile
  displayfile=$(mktemp)
  XSESSION_FILES+=("$displayfile")
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
  XSESSION_PIDS+=($!)
  local _
  for _ in $(seq 200); do [[ -s $displayfile ]] && break; sleep 0.05; done
  [[ -s $displayfile ]] || { echo "xsession: Xvfb did not start" >&2; return 1; }
  export DISPLAY=:$(head -1 "$displayfile")
  export QT_QPA_PLATFORM=xcb
  # A plain X11 session, even when started from a Wayland desktop: the game
  # places its windows for a compositor when it sees one.
  unset WAYLAND_DISPLAY
  if $wm; then
    openbox --sm-disable >/dev/null 2>&1 &
    XSESSION_PIDS+=($!)
    # A window manager announces itself on the root window once it manages.
    for _ in $(seq 200); do
      xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
      sleep 0.05
    done
    echo "xsession: openbox did not start" >&2
    return 1
  fi
}

# Ends what xsession_start started, the window manager before the server.
xsession_stop() {
  local i
  for ((i = ${#XSESSION_PIDS[@]} - 1; i >= 0; i--)); do
    kill "${XSESSION_PIDS[i]}" 2>/dev/null || true
    # An X server still going away would remove the socket of the next one
    # that took its display number.
    wait "${XSESSION_PIDS[i]}" 2>/dev/null || true
  done
  XSESSION_PIDS=()
  rm -f "${XSESSION_FILES[@]}"
  XSESSION_FILES=()
}

# The first visible window whose title matches the pattern, waiting up to
# the seconds given (30 by default: a loaded machine may take its time to
# show a window, and the wait is no timing check); when none shows, it says
# on standard error what xdotool reported and which windows there are.
xwindow() {
  local pattern=$1 seconds=${2:-30} found id deadline
  deadline=$(($(date +%s%N) + seconds * 1000000000))
  while (($(date +%s%N) < deadline)); do
    found=$(xdotool search --onlyvisible --name "$pattern" 2>&1) || true
    id=$(grep -m1 -E '^[0-9]+$' <<<"$found") || true
    [[ -n $id ]] && { echo "$id"; return 0; }
    sleep "$XSESSION_POLL"
  done
  {
    echo "xwindow: no visible window titled /$pattern/ within $seconds s; xdotool said: ${found:-nothing}"
    for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
      echo "xwindow: a visible window titled \"$(xdotool getwindowname "$id" 2>&1)\""
    done
  } >&2
  return 1
}

# The value of one property of a window as xprop prints it after its name
# and type (strings keep their quotes, windows read "window id # 0x..."); empty
# when the window does not have it.
xprop_value() {
  xprop -id "$1" "$2" 2>/dev/null | sed -n -E 's/^[A-Za-z0-9_]+\([^)]*\)(:| =) //p'
}

# The frame that the window manager put around a window, or the window itself
# when none manages it.
xframe() {
  local id=$1 root parent
  root=$(xwininfo -root | awk '/Window id:/ {print $4}')
  while :; do
    parent=$(xwininfo -children -id "$id" | awk '/Parent window id:/ {print $4}')
    [[ -z $parent || $((parent)) -eq $((root)) ]] && break
    id=$parent
  done
  echo "$id"
}

# Where a window stands on the screen and its size, as shell assignments of
# X, Y, WIDTH and HEIGHT (xdotool's own is off by the title bar once a window
# manager has put a frame around the window).
xgeometry() {
  xwininfo -id "$1" | awk '
    /Absolute upper-left X:/ {print "X=" $4}
    /Absolute upper-left Y:/ {print "Y=" $4}
    /Width:/ {print "WIDTH=" $2}
    /Height:/ {print "HEIGHT=" $2}'
}

# A window's picture, cut out of the screen: its client area, or with
# --frame the title bar and border around it as well.
xpicture() {
  local id=$1 out=$2 X Y WIDTH HEIGHT
  [[ ${3:-} == --frame ]] && id=$(xframe "$id")
  eval "$(xgeometry "$id")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out"
}
