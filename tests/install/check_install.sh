#!/usr/bin/env bash
# The installed game: cmake --install into a scratch prefix (and once more
# into a DESTDIR) lays out the program, its data files, the menu entry, the
# icons and the software-centre description; the entry and the description
# validate; and the installed program, started from an unrelated folder
# with HOME and the XDG folders in a scratch folder, comes up in a folder of
# the player's own, writes "Nirvex将棋.ini" there and leaves on Esc with
# status 0, having loaded its sound module and not the graph's.  A second
# player gets a folder of their own; a folder that cannot be made is
# explained and the game still runs.
# Usage: check_install.sh BUILD_DIR VERSION APP_ID OUT_PNG MODULES_FROM_PROGRAM
set -u
build=$1
version=$2
app_id=$3
shot=$4
modules_from_program=$5
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../e2e/x_session.sh"
need_x_tools || exit 1
for tool in desktop-file-validate appstreamcli identify xprop; do
  command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
done

app=
xvfb=
work=$(mktemp -d)
trap 'kill "$app" 2>/dev/null; stop_xvfb; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log"; exit 1; }
data=$prefix/share/nirvex-shogi

# ---- The layout ----
sizes="16 22 24 32 48 64 128 256 512"
expected=(bin/nirvex-shogi
          share/applications/$app_id.desktop share/metainfo/$app_id.metainfo.xml
          "share/nirvex-shogi/その他.wav" "share/nirvex-shogi/禁止.wav"
          "share/nirvex-shogi/駒打音.wav" share/nirvex-shogi/BGM.wav
          "share/nirvex-shogi/Nirvex将棋.htm")
# Everything the manual and its style sheet show or link beside themselves.
for ref in $( (grep -o -E '(src|href)="[^"#:]+"' "$data/Nirvex将棋.htm"
               grep -o -E 'url\("[^"]+"\)' "$data/manual.css") |
             sed -E 's/^[a-z]+(=|\()"([^"]*)".*$/\2/' | sort -u); do
  expected+=("share/nirvex-shogi/$ref")
done
for n in $sizes; do expected+=("share/icons/hicolor/${n}x$n/apps/$app_id.png"); done
# The modules, where the program looks for them.
modules=$(realpath -m --relative-to="$prefix" "$prefix/bin/$modules_from_program")
expected+=("$modules/nirvex-graph.so" "$modules/nirvex-sound.so")
for f in "${expected[@]}"; do
  [ -f "$prefix/$f" ] || fail "not installed: $f"
done
[ -x "$prefix/bin/nirvex-shogi" ] || fail "the program is not executable"
# Qt Charts and SDL2 come with the modules, when they are needed.
readelf -d "$prefix/bin/nirvex-shogi" | grep -E 'NEEDED.*(Charts|SDL)' &&
  fail "the program itself needs Qt Charts or SDL"
for n in $sizes; do
  icon=$prefix/share/icons/hicolor/${n}x$n/apps/$app_id.png
  [ -f "$icon" ] || continue
  got=$(identify -format '%wx%h' "$icon")
  [ "$got" = "${n}x$n" ] || fail "the ${n}x$n icon is $got"
done
# Nothing else: no tests, tools or build files in the player's system.
(cd "$prefix" && find . -type f | sed 's|^\./||' | sort) >"$work/installed.txt"
printf '%s\n' "${expected[@]}" | sort -u >"$work/expected.txt"
extra=$(comm -23 "$work/installed.txt" "$work/expected.txt")
[ -z "$extra" ] || fail "installed but not expected: $extra"

# ---- The menu entry and the description ----
entry=$prefix/share/applications/$app_id.desktop
desktop-file-validate "$entry" || fail "desktop-file-validate refuses the menu entry"
field() { sed -n "s/^$1=//p" "$entry"; }
[ "$(field Name)" = "Nirvex将棋" ] || fail "menu entry Name is '$(field Name)'"
[ "$(field Icon)" = "$app_id" ] || fail "menu entry Icon is '$(field Icon)'"
[ -x "$prefix/bin/$(field Exec)" ] || fail "menu entry Exec '$(field Exec)' is not the installed program"
for c in Game BoardGame; do
  field Categories | tr ';' '\n' | grep -qx "$c" || fail "menu entry lacks category $c"
done
field Comment | grep -q -P '[\p{Han}\p{Hiragana}\p{Katakana}]' || fail "menu entry Comment is not Japanese"
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli refuses the metainfo"
grep -q "<id>$app_id</id>" "$metainfo" || fail "metainfo id is not $app_id"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
  fail "metainfo does not launch $app_id.desktop"
grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo has no release $version"

# ---- A staged install (DESTDIR) lays out the same files under it ----
DESTDIR=$work/stage cmake --install "$build" --prefix /usr >"$work/stage.log" 2>&1 ||
  { cat "$work/stage.log"; exit 1; }
(cd "$work/stage/usr" && find . -type f | sed 's|^\./||' | sort) >"$work/staged.txt"
cmp -s "$work/installed.txt" "$work/staged.txt" ||
  fail "DESTDIR install differs: $(diff "$work/installed.txt" "$work/staged.txt" | tr '\n' ' ')"
[ -z "$(find "$work/stage" -path "$work/stage/usr" -prune -o -type f -print)" ] ||
  fail "DESTDIR install wrote outside its prefix"

# ---- The installed game, started as a player would ----
start_xvfb "$work/xvfb.log" || exit 1
elsewhere=$work/elsewhere
mkdir -p "$elsewhere"

# Starts the installed program from the unrelated folder with HOME=$1 and
# XDG_DATA_HOME=$2 (unset when empty); the prefix is one of the system's
# data folders, as /usr is for the package.
start_game() {
  mkdir -p "$1/runtime" && chmod 700 "$1/runtime"
  (cd "$elsewhere" && unset XDG_DATA_HOME XDG_CONFIG_HOME XDG_CACHE_HOME &&
   export HOME=$1 XDG_CONFIG_HOME=$1/config XDG_CACHE_HOME=$1/cache XDG_RUNTIME_DIR=$1/runtime \
          XDG_DATA_DIRS=$prefix/share:/usr/share &&
   { [ -z "$2" ] || export XDG_DATA_HOME=$2; } &&
   SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb exec "$prefix/bin/nirvex-shogi") \
    </dev/null >"$work/app.log" 2>&1 &
  app=$!
  started=$(date +%s)
}

# Waits for the main window, then ends the game with Esc; 1 on a failure.
play_and_leave() {
  local wid
  # A fresh home may first have to fill its font cache: a longer wait.
  wid=$(wait_for_window '^Nirvex将棋$' 30)
  [ -n "$wid" ] || { fail "no window titled Nirvex将棋"; cat "$work/app.log"; return 1; }
  echo "window $wid came up after $(( $(date +%s) - started )) s"
  grep -q "/nirvex-sound\.so$" "/proc/$app/maps" || fail "the sound module was not loaded"
  grep -q "Charts" "/proc/$app/maps" && fail "Qt Charts was loaded at start"
  xprop -id "$wid" _NET_WM_ICON | grep -q 'Icon (' || fail "the window shows no icon from the icon theme"
  sleep 1.5
  [ -z "${1:-}" ] || screenshot_shows_board "$1" || fail "the installed game shows no board"
  press_until_gone "$wid" "$app" Escape || { fail "Esc did not end the game"; return 1; }
  wait "$app"
  local status=$?
  app=
  [ "$status" -eq 0 ] || { fail "exit status $status"; cat "$work/app.log"; return 1; }
}

# Checks a player's own folder after a game: the settings file the first
# start writes, and links to every installed data file.
check_own_folder() {
  local own=$1 name
  [ -f "$own/Nirvex将棋.ini" ] || { fail "no Nirvex将棋.ini in $own"; return; }
  printf '背景画=緑\r\n移動指導=OFF\r\n経過時間=ON\r\nBGM=ON\r\n' | iconv -f UTF-8 -t CP932 |
    cmp -s - "$own/Nirvex将棋.ini" || fail "$own/Nirvex将棋.ini does not hold the defaults"
  for name in "その他.wav" "禁止.wav" "駒打音.wav" BGM.wav "Nirvex将棋.htm" manual.css images; do
    [ "$(readlink -f "$own/$name")" = "$(readlink -f "$data/$name")" ] ||
      fail "$own/$name does not lead to the installed $name"
  done
}

# The first player, with XDG_DATA_HOME set.
player1=$work/player1
start_game "$player1" "$player1/data"
play_and_leave "$shot"
check_own_folder "$player1/data/nirvex-shogi"

# A second player, with the default data folder: a folder of their own.
player2=$work/player2
start_game "$player2" ""
play_and_leave
check_own_folder "$player2/.local/share/nirvex-shogi"

[ -z "$(ls -A "$elsewhere")" ] || fail "the game wrote into the folder it was started from"
[ ! -e "$data/Nirvex将棋.ini" ] || fail "the game wrote its settings into the installed data folder"

# A player whose data folder cannot be made (it lies below a file): the
# message, then the game with its defaults.
player3=$work/player3
mkdir -p "$player3" && : >"$player3/data"
start_game "$player3" "$player3/data"
box=$(wait_for_window '^Nirvex将棋\.ini$' 30)
if [ -z "$box" ]; then
  fail "no message about the folder that cannot be made"
  cat "$work/app.log"
else
  import -window root "${shot%.png}-message.png"
  press_until_closed "$box" Return || fail "the message did not close"
  play_and_leave
fi

if [ "$failures" -ne 0 ]; then echo "$failures failures"; exit 1; fi
echo "the installed game is laid out, validates and runs in each player's own folder"
