#!/usr/bin/env bash
# Builds every file of a release into DIR, each named with the version of
# project() in CMakeLists.txt, and SHA256SUMS over them:
#   quorvantile_VERSION_amd64.deb          the Debian package
#   quorvantile-VERSION-Linux.tar.gz       the same files as a tarball
#   quorvantile-VERSION-windows-x86_64.zip quorvantile.exe, README.txt, USING.txt, LICENSE.txt
#   quorvantile-VERSION-web.zip            the page's folder for a static server
#   quorvantile-VERSION.html               the page in one file, opens from disk
#
#   bash .ci/release.sh DIR
#
# With QUORVANTILE_RELEASE_TAG set (the release workflow sets it to the tag),
# the tag must be v followed by that version. The build folders are those of
# the packages and web legs (build-pack, build-pack-win, build-web), with
# their settings, so that in CI each is built once whichever runs first.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -ne 1 ]; then
  echo "usage: $0 DIR" >&2
  exit 2
fi
mkdir -p "$1"
out=$(cd "$1" && pwd)
started=$SECONDS

fail() {
  echo "release: $*" >&2
  exit 1
}

version=$(bash .ci/version.sh) || fail "no version"
if [ -n "${QUORVANTILE_RELEASE_TAG:-}" ] && [ "$QUORVANTILE_RELEASE_TAG" != "v$version" ]; then
  fail "the tag $QUORVANTILE_RELEASE_TAG is not v$version, the version in CMakeLists.txt"
fi
echo "== release $version into $out"

extra=(dpkg-dev g++-mingw-w64-x86-64 emscripten)
# Some machines carry a node with its own npm, not from Debian's packages.
command -v node >/dev/null || extra+=(nodejs)
command -v npm >/dev/null || extra+=(npm)
bash .ci/install-deps.sh "${extra[@]}"
rm -f "$out"/quorvantile[-_]* "$out/SHA256SUMS"

echo "-- Linux: .deb and .tar.gz"
cmake -S . -B build-pack -DCMAKE_BUILD_TYPE=Release -DQUORVANTILE_TESTS=OFF -DQUORVANTILE_BENCHMARKS=OFF >/dev/null
cmake --build build-pack -j2
rm -f build-pack/quorvantile*.tar.gz build-pack/quorvantile*.deb
(cd build-pack && cpack -G TGZ >/dev/null && cpack -G DEB >/dev/null)
cp "build-pack/quorvantile-$version-Linux.tar.gz" build-pack/quorvantile_"$version"_*.deb "$out/"

echo "-- Windows: .zip"
cmake -S . -B build-pack-win --no-warn-unused-cli -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DQUORVANTILE_TESTS=OFF -DQUORVANTILE_BENCHMARKS=OFF >/dev/null
cmake --build build-pack-win -j2 --target quorvantile
rm -f build-pack-win/quorvantile*.zip
(cd build-pack-win && cpack -G ZIP >/dev/null)
cp "build-pack-win/quorvantile-$version-windows-x86_64.zip" "$out/"

echo "-- web: the folder as a .zip and the single file"
(cd web && npm ci --no-audit --no-fund)
emcmake cmake -S . -B build-web >/dev/null
cmake --build build-web -j2
rm -f build-web/quorvantile-*-web.*
(cd build-web && cpack -G ZIP >/dev/null)
cp "build-web/quorvantile-$version-web.zip" "$out/"
cp build-web/web-single/quorvantile.html "$out/quorvantile-$version.html"

(cd "$out" && sha256sum quorvantile[-_]* >SHA256SUMS)
echo "== release $version built in $((SECONDS - started)) s:"
(cd "$out" && ls -l quorvantile[-_]* SHA256SUMS)
