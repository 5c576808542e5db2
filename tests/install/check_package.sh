#!/usr/bin/env bash
# The Debian package: cpack builds it from the build tree; it holds exactly
# what cmake --install lays out, under /usr, with the program stripped, and
# declares what the game needs to run.
# Usage: check_package.sh BUILD_DIR VERSION
set -u
build=$1
version=$2
for tool in cpack dpkg-deb file; do
  command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; exit 1; }
debs=("$work"/out/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "cpack made no single .deb"; ls "$work/out"; exit 1; }
deb=${debs[0]}
arch=$(dpkg --print-architecture)
[ "$(basename "$deb")" = "nirvex-shogi_${version}_$arch.deb" ] || fail "package file is $(basename "$deb")"
dpkg-deb -I "$deb"

# ---- The control fields ----
control() { dpkg-deb -f "$deb" "$1"; }
[ "$(control Package)" = nirvex-shogi ] || fail "Package is '$(control Package)'"
[ "$(control Version)" = "$version" ] || fail "Version is '$(control Version)'"
[ "$(control Architecture)" = "$arch" ] || fail "Architecture is '$(control Architecture)'"
[ "$(control Section)" = games ] || fail "Section is '$(control Section)'"
# Each needed package by name, as its own entry of the list.
has() { control "$1" | tr ',' '\n' | sed -E 's/^ *//; s/ .*//' | grep -qx "$2"; }
for p in libqt6core6 libqt6gui6 libqt6widgets6 libqt6charts6 qt6-qpa-plugins libsdl2-2.0-0 \
         fonts-ipafont-mincho fonts-ipafont-gothic; do
  has Depends "$p" || fail "Depends lacks $p"
done
# The game mixes its waves itself: no mixing library and its codecs.
has Depends libsdl2-mixer-2.0-0 && fail "Depends names libsdl2-mixer-2.0-0"
for p in xdg-utils fairy-stockfish; do
  has Recommends "$p" || fail "Recommends lacks $p"
done
[ -z "$(control Suggests)" ] || fail "Suggests is '$(control Suggests)'"

# ---- The contents ----
DESTDIR=$work/stage cmake --install "$build" --prefix /usr >/dev/null 2>&1 || fail "staged install failed"
(cd "$work/stage" && find . -type f | sort) >"$work/staged.txt"
dpkg-deb -c "$deb" >"$work/listing.txt"
grep -v '^[d-]' "$work/listing.txt" && fail "the package holds links or devices"
awk '$1 ~ /^-/ { $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }' "$work/listing.txt" | sort \
  >"$work/packed.txt"
cmp -s "$work/staged.txt" "$work/packed.txt" ||
  fail "package contents differ from the install: $(diff "$work/staged.txt" "$work/packed.txt" | tr '\n' ' ')"
awk '$2 != "root/root"' "$work/listing.txt" | grep . && fail "files not owned by root"
dpkg-deb -x "$deb" "$work/unpacked"
file "$work/unpacked/usr/bin/nirvex-shogi" | grep -q ', stripped' || fail "the program is not stripped"

if [ "$failures" -ne 0 ]; then echo "$failures failures"; exit 1; fi
echo "$(basename "$deb"): contents as installed, dependencies declared"
