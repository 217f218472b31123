#!/usr/bin/env bash
# The Windows leg: cross-builds quorvantile.exe with mingw-w64, checks that it
# needs no DLL beyond the system's, runs the whole test suite under wine
# (unit tests, and the transcripts through pipes with CR LF line ends), then
# checks a session on wine's console inside tmux.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS

bash .ci/install-deps.sh g++-mingw-w64-x86-64 wine wine64 tmux

build=build-win
mkdir -p "$build"
export WINEDEBUG=-all
export WINEPREFIX="$PWD/$build/wineprefix"
# No Mono or Gecko installers, no desktop menu entries: none is needed.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY

# One persistent wineserver for the whole leg, ended however the leg ends.
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "creating the wine prefix in $WINEPREFIX"
  wineboot -i </dev/null >/dev/null 2>&1
  wineserver -w
fi
wineserver -p
# Wine's background services start with the first program and inherit its
# standard streams; started here, away from CTest's pipes, they cannot keep
# a test (or test discovery) waiting for them.
wine cmd /c exit </dev/null >/dev/null 2>&1

cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DQUORVANTILE_BENCHMARKS=OFF
cmake --build "$build" -j2

exe="$build/app/quorvantile.exe"
echo "DLLs that $exe imports:"
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {print $3}')
echo "$dlls" | sed 's/^/  /'
# The mingw-w64 runtime DLLs must have been linked in statically.
if echo "$dlls" | grep -iE 'libstdc|libgcc|libwinpthread'; then
  echo "quorvantile.exe needs the mingw-w64 runtime DLLs above" >&2
  exit 1
fi

ctest --test-dir "$build" --output-on-failure --timeout 300

python3 tests/e2e/wine_console_check.py --exe "$exe" --tests "$build/tests/quorvantile_tests.exe"

echo "== Windows leg passed in $((SECONDS - started)) s"
