#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) in build-fuzz/ and runs each for the given
# number of seconds on its seed corpus.  Exits non-zero when a target finds
# a crash or a sanitizer report; the input that did it is kept in
# build-fuzz/artifacts/.  Without clang it says so and does nothing.
#
#   fuzz/run_fuzz.sh [TARGET:SECONDS...]   (default: every target below
#                                           for its own time)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

# Each target with the folder of its seeds under fuzz/corpus/, and how
# long CI gives it.
declare -A seeds=(
  [record_reader_fuzz]=record
  [settings_reader_fuzz]=settings
)
declare -A default_seconds=(
  [record_reader_fuzz]=60
  [settings_reader_fuzz]=30
)

runs=("$@")
if [ ${#runs[@]} -eq 0 ]; then
  for t in $(printf '%s\n' "${!seeds[@]}" | sort); do runs+=("$t:${default_seconds[$t]}"); done
fi
targets=()
for run in "${runs[@]}"; do targets+=("${run%%:*}"); done

cxx=$(command -v clang++ || command -v clang++-14 || true)
if [ -z "$cxx" ]; then
  echo "run_fuzz.sh: clang++ is not installed; fuzzing skipped" >&2
  exit 0
fi

build="$root/build-fuzz"
cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER="$cxx" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target "${targets[@]}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# The targets use Qt's text codecs only; no display is involved.
export QT_QPA_PLATFORM=offscreen

status=0
for run in "${runs[@]}"; do
  target=${run%%:*}
  seconds=${run#*:}
  [ "$seconds" != "$run" ] || seconds=${default_seconds[$target]:-30}
  seed_dir="$root/fuzz/corpus/${seeds[$target]:?unknown fuzz target $target}"
  work="$build/corpus/$target"
  artifacts="$build/artifacts/$target/"
  mkdir -p "$work" "$artifacts"
  echo "== $target for ${seconds}s (seeds: ${seed_dir#$root/})"
  if ! "$build/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len=65536 -print_final_stats=1 -artifact_prefix="$artifacts" \
      "$work" "$seed_dir"; then
    echo "run_fuzz.sh: $target failed; inputs in $artifacts" >&2
    status=1
  fi
done
exit $status
