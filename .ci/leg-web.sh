#!/usr/bin/env bash
# The web leg: builds the web edition with Emscripten, runs the unit tests and
# the UTF-8 transcripts on the WebAssembly build under node, makes the release
# artifacts (a .zip of the page's folder and the single-file page), then runs
# the browser tests in headless Chromium.
#
# The GBK transcripts do not run here: the web edition writes UTF-8 whatever
# the locale, because the page it runs in is UTF-8, so it has no GBK output.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS

extra=(emscripten chromium fonts-wqy-microhei poppler-utils unzip)
# Some machines carry a node with its own npm, not from Debian's packages.
command -v node >/dev/null || extra+=(nodejs)
command -v npm >/dev/null || extra+=(npm)
bash .ci/install-deps.sh "${extra[@]}"

echo "-- npm packages of the page"
(cd web && npm ci --no-audit --no-fund)

echo "-- build"
build=build-web
emcmake cmake -S . -B "$build"
cmake --build "$build" -j2

echo "-- unit tests and transcripts under node (GBK transcripts: none, the web edition is UTF-8 only)"
ctest --test-dir "$build" --output-on-failure -j2

fail() {
  echo "web: $*"
  exit 1
}

echo "-- release artifacts"
# The page's files, as the build names them (web/page_files.cmake).
page_files=$(cmake -DPAGE=web -P web/page_files.cmake 2>&1)
for file in $page_files; do
  [ -f "$build/web/$file" ] || fail "$build/web has no $file"
done
single="$build/web-single/quorvantile.html"
[ -f "$single" ] || fail "no $single"
# One file means nothing loaded from beside it.
if grep -qE '<script src=|<link rel="stylesheet"' "$single"; then
  fail "$single still links files: $(grep -oE '<script src=[^>]*>|<link rel="stylesheet"[^>]*>' "$single")"
fi
version=$(bash .ci/version.sh)
zip="$build/quorvantile-$version-web.zip"
rm -f "$build"/quorvantile-*-web.*
(cd "$build" && cpack -G ZIP >/dev/null)
[ -f "$zip" ] || fail "cpack made no $zip"
cp "$single" "${zip%.zip}.html"
listing=$(unzip -Z1 "$zip")
echo "$zip:"
echo "$listing" | sed 's/^/  /'
for file in $page_files quorvantile.html; do
  grep -qE "/$file\$" <<<"$listing" || fail "$zip lacks $file"
done
ls -l "${zip%.zip}.html"

echo "-- browser tests"
bash web/tests/run-browser-tests.sh "$build"
echo "== web leg passed in $((SECONDS - started)) s"
