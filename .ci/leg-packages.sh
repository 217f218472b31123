#!/usr/bin/env bash
# Packaging leg: the manual page renders without warnings, `cmake --install`
# puts the program and the page in place, and CPack makes the .tar.gz and the
# .deb (and, with the mingw-w64 toolchain file, the Windows .zip), each holding
# what it should.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

extra=(man-db groff-base dpkg-dev unzip)
toolchain=cmake/mingw-w64-x86_64.cmake
[ -f "$toolchain" ] && extra+=(g++-mingw-w64-x86-64)
bash .ci/install-deps.sh "${extra[@]}"

fail() {
  echo "packages: $*"
  exit 1
}

# Every entry of a listing that must be there.
expect_entries() {
  local listing=$1 what=$2
  shift 2
  for entry in "$@"; do
    grep -qE "$entry\$" <<<"$listing" || fail "$what lacks $entry"
  done
}

echo "-- manual page"
page=docs/quorvantile.1
warnings=$(groff -man -ww -z "$page" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "groff warns about $page: $warnings"
rendered=$(MANWIDTH=80 man -l --warnings "$page" 2>"$root/man-warnings.txt")
[ ! -s "$root/man-warnings.txt" ] || fail "man warns about $page: $(cat "$root/man-warnings.txt")"
rm -f "$root/man-warnings.txt"
for section in NAME SYNOPSIS DESCRIPTION ENVIRONMENT "EXIT STATUS" EXAMPLES; do
  grep -q "^$section" <<<"$rendered" || fail "$page has no $section section"
done
echo "renders without warnings, all sections present"

echo "-- install"
build=build-pack
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUORVANTILE_TESTS=OFF \
  -DQUORVANTILE_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j2
staging=$(mktemp -d)
cmake --install "$build" --prefix "$staging" >/dev/null
[ -x "$staging/bin/quorvantile" ] || fail "no bin/quorvantile after install"
[ -f "$staging/share/man/man1/quorvantile.1" ] || fail "no share/man/man1/quorvantile.1 after install"
farewell=$(printf '8\n' | "$staging/bin/quorvantile") || fail "the installed program failed"
grep -q 'Thank you! ~~Bye~~' <<<"$farewell" || fail "the installed program did not say goodbye"
rm -rf "$staging"
echo "bin/quorvantile and share/man/man1/quorvantile.1 installed; the program runs"

echo "-- Linux packages"
rm -f "$build"/quorvantile*.tar.gz "$build"/quorvantile*.deb
(cd "$build" && cpack -G TGZ >/dev/null && cpack -G DEB >/dev/null)
tgz=$(ls "$build"/quorvantile-*.tar.gz)
deb=$(ls "$build"/quorvantile_*.deb)
listing=$(tar tzvf "$tgz")
echo "$tgz:"
echo "$listing"
expect_entries "$listing" "$tgz" /bin/quorvantile /share/man/man1/quorvantile.1
listing=$(dpkg-deb -c "$deb")
echo "$deb:"
echo "$listing"
expect_entries "$listing" "$deb" ./usr/bin/quorvantile ./usr/share/man/man1/quorvantile.1
dpkg-deb -f "$deb" Package Version Section Depends Maintainer

if [ -f "$toolchain" ]; then
  echo "-- Windows package"
  winbuild=build-pack-win
  cmake -S . -B "$winbuild" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DQUORVANTILE_TESTS=OFF -DQUORVANTILE_BENCHMARKS=OFF >/dev/null
  cmake --build "$winbuild" -j2 --target quorvantile
  rm -f "$winbuild"/quorvantile*.zip
  (cd "$winbuild" && cpack -G ZIP >/dev/null)
  zip=$(ls "$winbuild"/quorvantile-*.zip)
  listing=$(unzip -l "$zip")
  echo "$zip:"
  echo "$listing"
  expect_entries "$(unzip -Z1 "$zip")" "$zip" /bin/quorvantile.exe
fi
echo "packages: all built and checked"
