#!/usr/bin/env bash
# The console tool links no Qt library and plays a whole game against the
# computer from standard input: the player walks into the rook's check
# and the computer takes the king.  Run by ctest as "console_plays_a_game".
set -euo pipefail
usi=$1
if ldd "$usi" | grep -i 'libQt'; then
  echo "nirvex-usi links Qt" >&2
  exit 1
fi
out=$(printf '%s\n' 'setoption name TimeOfDay value 36000' 'newgame sente' 'play 6e6d' \
  'play 6f6e' 'play 5f5e' quit | "$usi")
echo "$out"
expected='info string newgame
info string score 80.2
bestmove 6a6d
info string announce 王手
info string score 9999
bestmove 6d6e+
info string winner ｺﾝﾋﾟｭｰﾀ
info string error no game'
[ "$out" = "$expected" ] || { echo "unexpected answer" >&2; exit 1; }
