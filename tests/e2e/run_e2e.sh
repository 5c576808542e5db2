#!/usr/bin/env bash
# End to end: the real program in a real X server comes up with its title,
# shows the board, and leaves with status 0 when Esc is pressed.
# Usage: run_e2e.sh PROGRAM RUN_DIR OUT_PNG
set -u
program=$1
run_dir=$2
shot=$3

for tool in Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
done

app=
xvfb=
work=$(mktemp -d)
trap 'kill "$app" "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
# Data files by bare name, as the game expects; a scratch copy keeps the
# build folder clean of settings written by the run.
cp "$run_dir"/*.wav "$work"/

# A display of our own: one where nothing answers yet (a server of another
# session may be reachable through the abstract socket namespace even
# without a lock file here), then Xvfb on it, ready when it answers.
xvfb=
for d in $(seq 91 140); do
  [ -e "/tmp/.X$d-lock" ] && continue
  DISPLAY=:$d xdotool getmouselocation >/dev/null 2>&1 && continue
  Xvfb ":$d" -screen 0 1600x1000x24 -nolisten tcp </dev/null >"$work/xvfb.log" 2>&1 &
  xvfb=$!
  for _ in $(seq 50); do
    DISPLAY=:$d xdotool getmouselocation >/dev/null 2>&1 && break
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$xvfb" 2>/dev/null && DISPLAY=:$d xdotool getmouselocation >/dev/null 2>&1; then
    export DISPLAY=:$d
    break
  fi
  kill "$xvfb" 2>/dev/null
  xvfb=
done
if [ -z "$xvfb" ]; then echo "could not start Xvfb"; cat "$work/xvfb.log"; exit 1; fi
echo "Xvfb on $DISPLAY"

(cd "$work" && SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb exec "$program") </dev/null >"$work/app.log" 2>&1 &
app=$!

wid=
for _ in $(seq 100); do
  wid=$(xdotool search --onlyvisible --name '^Nirvex将棋$' 2>/dev/null | head -1)
  [ -n "$wid" ] && break
  sleep 0.1
done
if [ -z "$wid" ]; then
  echo "no window titled Nirvex将棋"
  cat "$work/app.log" "$work/xvfb.log"
  exit 1
fi
echo "window $wid: $(xdotool getwindowname "$wid")"
sleep 1.5

import -window root "$shot"
# A board, hands and backgrounds: many colours, not a blank screen.
colours=$(convert "$shot" -format %k info:)
echo "screenshot $shot with $colours colours"
if [ "$colours" -lt 500 ]; then echo "screenshot looks empty"; exit 1; fi

# Esc, again if a busy machine lost the first one.
for _ in 1 2 3; do
  xdotool windowfocus --sync "$wid" 2>/dev/null || xdotool windowfocus "$wid" 2>/dev/null
  sleep 0.3
  xdotool key Escape
  for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$app" 2>/dev/null || break
done
if kill -0 "$app" 2>/dev/null; then echo "program still running after Esc"; exit 1; fi
wait "$app"
status=$?
echo "exit status $status"
[ "$status" -eq 0 ] || { cat "$work/app.log"; exit 1; }
