#!/usr/bin/env bash
# Sets up this machine if needed, builds everything and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
jobs=$(nproc)

# The rules, the analysis, the console tool and the readers of outside files
# once more under AddressSanitizer and UndefinedBehaviorSanitizer: a square
# read off the board must stop a test, not reach a player.
asan_tests=(model_tests nirvex_engine_tests nirvex_computer_tests nirvex_usi_tests flow_tests
            record_tests settings_tests)
cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DNIRVEX_SANITIZE=ON -DNIRVEX_BUILD_BENCH=OFF >/dev/null
cmake --build "$root/build-asan" -j "$jobs" --target "${asan_tests[@]}"
for t in "${asan_tests[@]}"; do
  QT_QPA_PLATFORM=offscreen "$root/build-asan/bin/$t" --gtest_brief=1
done

# The readers of record and settings files under libFuzzer, 60 and 30
# seconds (skipped without clang).
"$root/fuzz/run_fuzz.sh"

cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build" -j "$jobs"
(cd "$root/build" && ctest --output-on-failure -j "$jobs")
