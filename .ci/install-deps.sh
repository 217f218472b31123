#!/usr/bin/env bash
# Installs the Debian packages that the native build and its tests need,
# when they are missing. Usage: install-deps.sh [extra packages...]
set -euo pipefail
packages=(cmake g++ make libgtest-dev googletest libbenchmark-dev python3 "$@")
missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
