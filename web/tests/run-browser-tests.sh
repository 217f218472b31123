#!/usr/bin/env bash
# Runs the browser tests of the web edition against a web build folder (the
# one holding web/ and web-single/), in headless Chromium, with the native
# program as the reference for every text.
#
#   bash web/tests/run-browser-tests.sh BUILD-WEB-DIR
#
# Installs what is missing: Chromium, a CJK font and poppler-utils from Debian, the page's
# npm packages with `npm ci`, and the native program from build/ when
# QUORVANTILE_NATIVE does not name one.
set -euo pipefail

if [ $# -ne 1 ]; then
  echo "usage: $0 BUILD-WEB-DIR" >&2
  exit 2
fi
web_build=$(cd "$1" && pwd)
tests=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$tests/../.." && pwd)

missing=()
[ -x /usr/bin/chromium ] || missing+=(chromium)
# The menu's Chinese titles need a font with CJK glyphs.
dpkg -s fonts-wqy-microhei >/dev/null 2>&1 || missing+=(fonts-wqy-microhei)
# The printout is read back with pdftotext and pdftoppm.
command -v pdftotext >/dev/null || missing+=(poppler-utils)
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing ${missing[*]}"
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

if [ ! -d "$repo/web/node_modules/puppeteer-core" ]; then
  (cd "$repo/web" && npm ci --no-audit --no-fund)
fi

native=${QUORVANTILE_NATIVE:-$repo/build/app/quorvantile}
if [ ! -x "$native" ]; then
  cmake -S "$repo" -B "$repo/build"
  cmake --build "$repo/build" -j2 --target quorvantile
  native=$repo/build/app/quorvantile
fi

export QUORVANTILE_WEB=$web_build QUORVANTILE_NATIVE=$native
exec node --test "$tests"/browser*.test.cjs "$tests/layout.test.cjs" "$tests/pictures.test.cjs" "$tests/lesson.test.cjs"
