#!/usr/bin/env bash
# A newcomer's first run, on a machine with a C++ compiler and CMake alone:
# GoogleTest, Google Benchmark and Python are hidden from CMake (the project
# looks for them with find_package only). The program must configure, build
# without a header of theirs, and give the sample session of docs/using.md
# byte for byte (and the README's few lines of it); the README's test
# command must then fail, naming what to install.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS

bash .ci/install-deps.sh

fail() {
  echo "minimal: $*" >&2
  exit 1
}

build=build-minimal
rm -rf "$build"

echo "-- configure and build with the test tools hidden"
configure_log=$(cmake -S . -B "$build" -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON \
  -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON -DCMAKE_DISABLE_FIND_PACKAGE_Python3=ON 2>&1) ||
  fail "configuring failed: $configure_log"
# The hiding worked, and configuring says so.
for needs in "needs GoogleTest" "needs Google Benchmark" "needs Python 3"; do
  grep -qF "$needs" <<<"$configure_log" || fail "configuring did not report '$needs': $configure_log"
done
sed -n '/^CMake Warning/,/^Call Stack/p' <<<"$configure_log"
cmake --build "$build" -j2
program="$build/app/quorvantile"
[ -x "$program" ] || fail "no $program"
for target in tests/quorvantile_tests bench/quorvantile_bench; do
  [ ! -e "$build/$target" ] || fail "$build/$target was built although its tool was hidden"
done
# The headers every object file was compiled from (GCC's dependency files):
# none may come from a hidden package, which would break a bare machine even
# though CMake did not find the package.
mapfile -t depfiles < <(find "$build" -name '*.o.d')
[ ${#depfiles[@]} -gt 0 ] || fail "no dependency files (*.o.d) to check the headers against"
if cat "${depfiles[@]}" | grep -E '/(gtest|gmock|benchmark|python3[.0-9]*)/'; then
  fail "the program's build reads the headers above"
fi
echo "built $program from ${#depfiles[@]} object files, none reading a hidden package's header"

echo "-- the sample session (docs/using.md, and its lines in README.md)"
# The block after the session's command in docs/using.md is the whole
# output, but for the menu's second showing, cut to the marker line.
marker=$'\t(the menu again, as above)'
expected=$(mktemp)
actual=$(mktemp)
excerpt=$(mktemp)
trap 'rm -f "$expected" "$actual" "$excerpt"' EXIT
text_block() {
  awk '/^## A short session/ { section = 1 }
       section && /^```text$/ { inside = 1; next }
       inside && /^```$/ { exit }
       inside { print }' "$1"
}
text_block docs/using.md >"$expected"
[ -s "$expected" ] || fail "no text block under 'A short session' in docs/using.md"
text_block README.md >"$excerpt"
[ -s "$excerpt" ] || fail "no text block under 'A short session' in README.md"
status=0
printf '2\n6\n888\n\n8\n' | LC_ALL=C.UTF-8 "$program" >"$actual.raw" || status=$?
[ $status -eq 0 ] || fail "the program exited with status $status"
awk -v marker="$marker" '
  /I LOVE C\+\+=/ { menus++ }
  menus == 2 && !cut { if (/made for curious classrooms/) { print marker; cut = 1 } next }
  { print }' "$actual.raw" >"$actual"
rm -f "$actual.raw"
diff -u "$expected" "$actual" || fail "docs/using.md's sample session is not what the program prints"
# The README's lines are consecutive lines of the same output.
awk 'NR == FNR { want[++n] = $0; next }
     { have[++m] = $0 }
     END {
       for (start = 1; start + n - 1 <= m; start++) {
         for (i = 1; i <= n && have[start + i - 1] == want[i]; i++) {}
         if (i > n) exit 0
       }
       exit 1
     }' "$excerpt" "$actual" ||
  { cat "$excerpt"; fail "README.md's session lines above are not consecutive lines of what the program prints"; }
echo "the program exits with status 0 and prints the session of docs/using.md exactly, the README's $(wc -l <"$excerpt") lines among it"

echo "-- the README's test command fails, naming what is missing"
status=0
ctest_log=$(ctest --test-dir "$build" --output-on-failure 2>&1) || status=$?
# Its output is kept out of the log: the expected failure's summary line
# would read as a failing suite to anyone scanning for one.
[ $status -ne 0 ] || { echo "$ctest_log"; fail "ctest passed without the test tools"; }
grep -qF "apt-get install libgtest-dev python3 libbenchmark-dev" <<<"$ctest_log" ||
  { echo "$ctest_log"; fail "ctest's failure does not name the packages to install"; }
echo "ctest fails as it should (status $status), naming the packages to install"

echo "== minimal leg passed in $((SECONDS - started)) s"
