#!/usr/bin/env bash
# Smoke run of the two programs the start benchmark starts: each shows its
# window, says "shown", then its memory and wakeups.  Times nothing.
# Usage: start_smoke.sh BIN_DIR
set -u
bin=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for program in nirvex_bare_window nirvex_game_start; do
  out=$(cd "$work" && QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy "$bin/$program" 640 420)
  if ! printf '%s\n' "$out" | head -1 | grep -qx shown ||
     ! printf '%s\n' "$out" | sed -n 2p | grep -Eqx '[0-9]+ [0-9]+ -?[0-9]+'; then
    echo "$program reported: $out"
    status=1
  fi
done
[ $status -eq 0 ] && echo "both programs report their start"
exit $status
