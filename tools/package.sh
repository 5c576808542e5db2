#!/usr/bin/env bash
# Sets up this machine if needed and builds the game's Debian package in a
# build folder of its own: build-deb/nirvex-shogi_VERSION_ARCH.deb.
# Install it with: sudo apt install ./build-deb/nirvex-shogi_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
out=$root/build-deb
cmake -S "$root" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DNIRVEX_BUILD_TESTS=OFF -DNIRVEX_BUILD_BENCH=OFF -DNIRVEX_BUILD_TOOLS=OFF >/dev/null
cmake --build "$out" -j "$(nproc)"
rm -f "$out"/*.deb
(cd "$out" && cpack)
ls "$out"/*.deb
