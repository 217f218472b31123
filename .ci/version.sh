#!/usr/bin/env bash
# Prints the release's version, x.y.z: the one in project() of
# CMakeLists.txt, which the build uses too. Fails where there is none.
set -euo pipefail
cd "$(dirname "$0")/.."
version=$(sed -nE 's/^project\(quorvantile VERSION ([0-9]+\.[0-9]+\.[0-9]+).*/\1/p' CMakeLists.txt)
if [ -z "$version" ]; then
  echo "no project(quorvantile VERSION x.y.z) in CMakeLists.txt" >&2
  exit 1
fi
echo "$version"
