# Helpers that several scripts share. Sourced, not run.
#
#   source scripts/helpers.sh
#   as_root apt-get install ...              as root: directly, or through sudo
#   as_player HOME command ...               as the unprivileged user nobody,
#                                            with HOME and the X display
#   copy_program FROM TO                     the program and its files into a
#                                            folder of its own
#   copy_source TO                           the source tree without build
#                                            folders and what git ignores
#   stop_job PID                             ends a background job and what it
#                                            started

as_root() {
  if [[ $(id -u) -eq 0 ]]; then "$@"; else sudo "$@"; fi
}

# A player who is not root, with a home of their own that root may look into.
as_player() {
  local home=$1
  shift
  as_root runuser -u nobody -- env HOME="$home" DISPLAY="${DISPLAY:-}" QT_QPA_PLATFORM=xcb "$@"
}

# The executable with the files it looks for beside it, so that whatever it
# writes there (the hall of fame) lands in the copy and nowhere else.
copy_program() {
  local from=$1 to=$2
  mkdir -p "$to"
  cp "$from"/MVKubrin "$from"/*.wav "$from"/MVKubrin.hlp "$to/"
}

# The tree as the working copy has it, committed or not, without what git
# ignores (build folders, dist/) and without .git itself; outside a git
# checkout, everything but build folders and dist/.
copy_source() {
  local to=$1 root
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  mkdir -p "$to"
  if git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    # Files deleted but not yet committed are still in git's list.
    (cd "$root" && git ls-files -z --cached --others --exclude-standard --deduplicate |
      while IFS= read -r -d '' f; do [[ -e $f || -L $f ]] && printf '%s\0' "$f"; done |
      tar --create --no-recursion --null --files-from=-) | tar --extract --directory="$to"
  else
    tar --create --directory="$root" --exclude='./build*' --exclude=./dist --exclude=./.git . |
      tar --extract --directory="$to"
  fi
}

# Ends a background job started from a function (as_player ... &): the
# subshell and the commands it started, which it would otherwise leave running.
stop_job() {
  pkill -TERM -P "$1" 2>/dev/null || true
  kill "$1" 2>/dev/null || true
}
