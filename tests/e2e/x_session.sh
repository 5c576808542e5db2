# Helpers for running the real program in an X server of its own; sourced
# by the end-to-end tests.  They need Xvfb, xdotool and imagemagick.

# Checks that the tools are there; returns 1 naming the first one missing.
need_x_tools() {
  local tool
  for tool in Xvfb xdotool import convert; do
    command -v "$tool" >/dev/null || { echo "missing $tool"; return 1; }
  done
}

# Is some X server already listening for display $1?  Its lock file, or a
# socket bound for it (also in the abstract namespace, where a server of
# another session can be reachable without any file here, and where a
# client looks first).
display_taken() {
  [ -e "/tmp/.X$1-lock" ] && return 0
  grep -aqE "(^| )@?/tmp/\.X11-unix/X$1\$" /proc/net/unix 2>/dev/null
}

# Starts Xvfb on a display nothing else listens on and waits until it
# answers.  Sets DISPLAY and xvfb (its process id); returns 1 when no
# display could be had.
# Usage: start_xvfb LOG_FILE
start_xvfb() {
  local log=$1 d
  xvfb=
  for d in $(seq 91 140); do
    display_taken "$d" && continue
    # -noreset: a server resets when its last client leaves, and a client
    # connecting meanwhile (the program, just after our check) is refused.
    Xvfb ":$d" -screen 0 1600x1000x24 -nolisten tcp -noreset </dev/null >"$log" 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do
      DISPLAY=:$d xdotool getmouselocation >/dev/null 2>&1 && break
      kill -0 "$xvfb" 2>/dev/null || break
      sleep 0.1
    done
    # Ours only if it still runs and holds the display's sockets itself.
    if kill -0 "$xvfb" 2>/dev/null && DISPLAY=:$d xdotool getmouselocation >/dev/null 2>&1; then
      export DISPLAY=:$d
      echo "Xvfb on $DISPLAY"
      return 0
    fi
    stop_xvfb
  done
  echo "could not start Xvfb"
  cat "$log"
  return 1
}

# Ends our Xvfb and waits until it has gone, so that the next test finds
# its display free.
stop_xvfb() {
  [ -n "${xvfb:-}" ] || return 0
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  xvfb=
}

# Prints the id of the first visible window whose title matches the
# pattern, waiting up to SECONDS (default ten); prints nothing when none
# came up.
# Usage: wait_for_window PATTERN [SECONDS]
wait_for_window() {
  local wid=
  for _ in $(seq $((${2:-10} * 10))); do
    wid=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
    [ -n "$wid" ] && break
    sleep 0.1
  done
  echo "$wid"
}

# Takes a picture of the whole screen; returns 1 when it shows too few
# colours to hold a board, hands and backgrounds.
# Usage: screenshot_shows_board OUT_PNG
screenshot_shows_board() {
  import -window root "$1"
  local colours
  colours=$(convert "$1" -format %k info:)
  echo "screenshot $1 with $colours colours"
  [ "$colours" -ge 500 ] || { echo "screenshot looks empty"; return 1; }
}

# Presses a key in the window, again if a busy machine lost it, until the
# program has left (up to three tries of five seconds); returns 1 when it
# is still running.
# Usage: press_until_gone WINDOW PROCESS KEY
press_until_gone() {
  local wid=$1 pid=$2 key=$3
  for _ in 1 2 3; do
    xdotool windowfocus --sync "$wid" 2>/dev/null || xdotool windowfocus "$wid" 2>/dev/null
    sleep 0.3
    xdotool key "$key"
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$pid" 2>/dev/null || return 0
  done
  echo "program still running after $key"
  return 1
}

# Presses a key in the window, again if a busy machine lost it, until the
# window has gone; returns 1 when it is still there.
# Usage: press_until_closed WINDOW KEY
press_until_closed() {
  local wid=$1 key=$2
  for _ in 1 2 3; do
    xdotool windowfocus --sync "$wid" 2>/dev/null || xdotool windowfocus "$wid" 2>/dev/null
    sleep 0.3
    xdotool key "$key"
    for _ in $(seq 50); do
      xdotool search --onlyvisible --name '.' 2>/dev/null | grep -qx "$wid" || return 0
      sleep 0.1
    done
  done
  echo "window $wid still open after $key"
  return 1
}
