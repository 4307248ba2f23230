#!/usr/bin/env bash
# Installs what the build needs, builds, and runs every test (core, widgets, end-to-end).
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
cd build
ctest --output-on-failure --parallel "$(nproc 2>/dev/null || echo 2)" "$@"
