#!/usr/bin/env bash
# Installs what the build needs, builds into ./build and makes the Debian package there (its
# dependencies come from dpkg-shlibdeps).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
cd build
cpack -G DEB >/dev/null
deb=$(ls -t ./*.deb | head -1)
echo "Built build/${deb#./}; install it with: sudo apt install ./build/${deb#./}"
