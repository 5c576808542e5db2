#!/usr/bin/env bash
# Sets up this machine if needed, builds everything and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
jobs=$(nproc)

# The rules, the analysis and the console tool once more under
# AddressSanitizer and UndefinedBehaviorSanitizer: a square read off the
# board must stop a test, not reach a player.
cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DNIRVEX_SANITIZE=ON -DNIRVEX_BUILD_BENCH=OFF >/dev/null
cmake --build "$root/build-asan" -j "$jobs" \
  --target model_tests nirvex_engine_tests nirvex_usi_tests
for t in model_tests nirvex_engine_tests nirvex_usi_tests; do
  "$root/build-asan/bin/$t" --gtest_brief=1
done

cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build" -j "$jobs"
(cd "$root/build" && ctest --output-on-failure -j "$jobs")
