#!/usr/bin/env bash
# Installs the Debian packages the build and tests need, only those missing.
# Usage: scripts/deps.sh [build|run]   (build: compilers, test and bench libraries,
# and the independent readers the interop tests use)
set -euo pipefail

packages=(g++ cmake make pkg-config googletest libgtest-dev libgmock-dev
          libbenchmark-dev qt6-base-dev python3 python3-dbf python3-dbfread libdbd-xbase-perl
          fonts-dejavu-core)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing Debian packages: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
