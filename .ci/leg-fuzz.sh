#!/usr/bin/env bash
# Fuzzing leg: builds the libFuzzer target with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer), runs the session cuts against the sanitized
# program, then fuzzes the whole menu from the seed corpus for a bounded time.
# A crash, a sanitizer report, a leak or a timeout fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

# Fuzzing time in seconds, and the limits for one input.
FUZZ_SECONDS=${FUZZ_SECONDS:-170}
INPUT_TIMEOUT=10
RSS_LIMIT_MB=2048
MAX_LEN=8192  # as fuzz/make_corpus.py's MAX_SEED

bash .ci/install-deps.sh clang libclang-rt-14-dev

build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUORVANTILE_FUZZ=ON -DQUORVANTILE_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j2 --target quorvantile_fuzz quorvantile quorvantile_tests

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

echo "-- session cuts, in process and through the sanitized program"
QUORVANTILE_BINARY="$PWD/$build/app/quorvantile" \
  "$build/tests/quorvantile_tests" --gtest_filter='SessionCuts.*:FuzzBound.*'

echo "-- fuzzing for ${FUZZ_SECONDS} s"
work=$(mktemp -d)
artifacts="$PWD/$build/fuzz-artifacts/"
mkdir -p "$artifacts"
status=0
"$build/fuzz/quorvantile_fuzz" "$work" fuzz/corpus fuzz/regressions \
  -dict=fuzz/menu.dict -max_len=$MAX_LEN -timeout=$INPUT_TIMEOUT -rss_limit_mb=$RSS_LIMIT_MB \
  -max_total_time="$FUZZ_SECONDS" -print_final_stats=1 -artifact_prefix="$artifacts" \
  >"$build/fuzz.log" 2>&1 || status=$?
grep -E '^(Done [0-9]+ runs|stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb))' \
  "$build/fuzz.log" || true
rm -rf "$work"
if [ $status -ne 0 ]; then
  # The report from its first line (sanitizer, UBSan, timeout or leak).
  first=$(grep -n -m1 -E 'ERROR|runtime error|ALARM|leak' "$build/fuzz.log" | cut -d: -f1 || true)
  if [ -n "$first" ]; then
    sed -n "${first},$((first + 80))p" "$build/fuzz.log"
  else
    tail -n 60 "$build/fuzz.log"
  fi
  for reproducer in "$artifacts"*; do
    [ -f "$reproducer" ] || continue
    echo "reproducer $(basename "$reproducer"), as hex:"
    od -An -tx1 -v "$reproducer" | head -n 40
  done
  echo "fuzzing failed (status $status)"
  exit 1
fi
echo "fuzzing: no crash, sanitizer report, leak or timeout"
