#!/usr/bin/env bash
# The sanitizer leg: every test of the native leg's default set, built with
# AddressSanitizer and UndefinedBehaviorSanitizer and with assertions on; a
# report, a leak or a failed assertion fails it.
set -euo pipefail
cd "$(dirname "$0")/.."
export CTEST_PARALLEL_LEVEL=${CTEST_PARALLEL_LEVEL:-2}

bash .ci/install-deps.sh

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVANTILE_SANITIZE=ON \
  -DQUORVANTILE_BENCHMARKS=OFF
cmake --build build-sanitize -j2
ctest --test-dir build-sanitize --output-on-failure
