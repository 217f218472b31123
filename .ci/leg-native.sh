#!/usr/bin/env bash
# The native leg: the README's build-and-test command, then the slow
# whole-range checks (label `slow`) in the same build directory.
set -euo pipefail
cd "$(dirname "$0")/.."
export CTEST_PARALLEL_LEVEL=${CTEST_PARALLEL_LEVEL:-2}

bash .ci/install-deps.sh

echo "-- build and tests (the README's command)"
cmake -S . -B build && cmake --build build -j2 && ctest --test-dir build --output-on-failure
echo "-- the slow checks"
cmake -S . -B build -DQUORVANTILE_SLOW_TESTS=ON && cmake --build build -j2 && ctest --test-dir build -L slow --output-on-failure
