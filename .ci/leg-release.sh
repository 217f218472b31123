#!/usr/bin/env bash
# The release leg: `.ci/release.sh` into a fresh folder, then each file
# checked as the one who downloads it would: SHA256SUMS verifies, the .deb
# unpacks and its program runs a short session, the .tar.gz holds the same
# program, the Windows zip holds quorvantile.exe, README.txt, USING.txt and LICENSE.txt
# and the program runs under wine, the single file opens from disk in
# Chromium and shows the menu, and so does the web zip's folder served over
# http. Then the workflows in .github/workflows are validated and checked to
# call the scripts CI runs.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS

bash .ci/install-deps.sh dpkg-dev unzip wine wine64 chromium fonts-wqy-microhei

fail() {
  echo "release leg: $*" >&2
  exit 1
}

dist=build-release
rm -rf "$dist"
bash .ci/release.sh "$dist/files"
version=$(bash .ci/version.sh)
files=$PWD/$dist/files
check=$PWD/$dist/check
mkdir -p "$check"

echo "-- every file, and SHA256SUMS over them"
expected=("quorvantile_${version}_amd64.deb" "quorvantile-$version-Linux.tar.gz"
  "quorvantile-$version-windows-x86_64.zip" "quorvantile-$version-web.zip" "quorvantile-$version.html")
for file in "${expected[@]}"; do
  [ -f "$files/$file" ] || fail "no $file"
  grep -qE "^[0-9a-f]{64}  $file\$" "$files/SHA256SUMS" || fail "SHA256SUMS does not name $file"
done
[ "$(wc -l <"$files/SHA256SUMS")" -eq ${#expected[@]} ] || fail "SHA256SUMS names other files: $(cat "$files/SHA256SUMS")"
(cd "$files" && sha256sum -c SHA256SUMS)

# The README's session: Collatz of 6, back to the menu, goodbye. It
# takes well under a second; wine's first start takes tens of seconds.
session=$'2\n6\n888\n\n8\n'
SESSION_TIMEOUT=180
says_goodbye() {
  LC_ALL=C grep -aq '6->3->10->5->16->8->4->2->1' <<<"$1" && LC_ALL=C grep -aq 'Thank you! ~~Bye~~' <<<"$1"
}

echo "-- the .deb: unpacked, its program runs the session"
deb=$files/quorvantile_${version}_amd64.deb
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the .deb is not version $version"
dpkg-deb -x "$deb" "$check/deb"
[ -f "$check/deb/usr/share/doc/quorvantile/copyright" ] || fail "the .deb has no copyright file"
grep -q '^License: MIT' "$check/deb/usr/share/doc/quorvantile/copyright" || fail "the .deb's copyright file names no licence"
output=$(printf '%s' "$session" | LC_ALL=C.UTF-8 timeout "$SESSION_TIMEOUT" "$check/deb/usr/bin/quorvantile") || fail "the .deb's program failed"
says_goodbye "$output" || fail "the .deb's program did not run the session: $output"
tar xzf "$files/quorvantile-$version-Linux.tar.gz" -C "$check"
cmp "$check/quorvantile-$version-Linux/bin/quorvantile" "$check/deb/usr/bin/quorvantile" ||
  fail "the .tar.gz and the .deb hold different programs"

echo "-- the Windows zip: its files, the program under wine"
unzip -q "$files/quorvantile-$version-windows-x86_64.zip" -d "$check"
win=$check/quorvantile-$version-windows-x86_64
for file in bin/quorvantile.exe README.txt USING.txt LICENSE.txt; do
  [ -f "$win/$file" ] || fail "the Windows zip has no $file"
done
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
# The Windows leg's prefix: made once, for both legs.
export WINEPREFIX=$PWD/build-win/wineprefix
mkdir -p build-win
unset DISPLAY WAYLAND_DISPLAY
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i </dev/null >/dev/null 2>&1
  wineserver -w
fi
output=$(printf '%s' "${session//$'\n'/$'\r\n'}" | timeout "$SESSION_TIMEOUT" wine "$win/bin/quorvantile.exe" 2>/dev/null | tr -d '\r') ||
  fail "the Windows program failed under wine"
says_goodbye "$output" || fail "the Windows program did not run the session under wine: $output"
wineserver -k >/dev/null 2>&1 || true

echo "-- the page: the single file from disk, the web zip served over http"
unzip -q "$files/quorvantile-$version-web.zip" -d "$check"
web=$check/quorvantile-$version-web
for file in index.html quorvantile.html service-worker.js manifest.webmanifest; do
  [ -f "$web/$file" ] || fail "the web zip has no $file"
done
(cd web && [ -d node_modules/puppeteer-core ] || npm ci --no-audit --no-fund)
node web/tests/release-check.cjs "$files/quorvantile-$version.html" "$web"

echo "-- the workflows"
bash .ci/check-workflows.sh

echo "== release leg passed in $((SECONDS - started)) s"
