#!/usr/bin/env bash
# Sets up this machine if needed, builds the game and starts it from the
# folder that holds its data files.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" --target nirvex-shogi nirvex_run_data
cd "$root/build/bin"
exec ./nirvex-shogi
