#!/usr/bin/env bash
# End to end: the real program in a real X server comes up with its title,
# shows the board, and leaves with status 0 when Esc is pressed.
# Usage: run_e2e.sh PROGRAM RUN_DIR OUT_PNG
set -u
program=$1
run_dir=$2
shot=$3
. "$(dirname "$0")/x_session.sh"
need_x_tools || exit 1

app=
xvfb=
work=$(mktemp -d)
trap 'kill "$app" 2>/dev/null; stop_xvfb; rm -rf "$work"' EXIT
# Data files by bare name, as the game expects; a scratch copy keeps the
# build folder clean of settings written by the run.
cp "$run_dir"/*.wav "$work"/

start_xvfb "$work/xvfb.log" || exit 1

(cd "$work" && SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb exec "$program") </dev/null >"$work/app.log" 2>&1 &
app=$!

wid=$(wait_for_window '^Nirvex将棋$')
if [ -z "$wid" ]; then
  echo "no window titled Nirvex将棋"
  cat "$work/app.log" "$work/xvfb.log"
  exit 1
fi
echo "window $wid: $(xdotool getwindowname "$wid")"
sleep 1.5

screenshot_shows_board "$shot" || exit 1

press_until_gone "$wid" "$app" Escape || exit 1
wait "$app"
status=$?
echo "exit status $status"
[ "$status" -eq 0 ] || { cat "$work/app.log"; exit 1; }
