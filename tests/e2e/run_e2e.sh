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

work=$(mktemp -d)
trap 'kill "$app" "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
# Data files by bare name, as the game expects; a scratch copy keeps the
# build folder clean of settings written by the run.
cp "$run_dir"/*.wav "$work"/

# Xvfb picks a free display itself and tells its number.
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -1 "$work/display")
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

(cd "$work" && SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb exec "$program") >"$work/app.log" 2>&1 &
app=$!

wid=
for _ in $(seq 100); do
  wid=$(xdotool search --onlyvisible --name '^Nirvex将棋$' 2>/dev/null | head -1)
  [ -n "$wid" ] && break
  sleep 0.1
done
if [ -z "$wid" ]; then echo "no window titled Nirvex将棋"; cat "$work/app.log"; exit 1; fi
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
