#!/usr/bin/env bash
# Builds into ./build-asan with AddressSanitizer and UndefinedBehaviorSanitizer and runs every
# test there. Slower than ./test.sh; worth a run before a release or after touching ownership.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
if [ ! -f build-asan/CMakeCache.txt ]; then
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DNORVIK_SANITIZE=ON -DNORVIK_BUILD_BENCH=OFF >/dev/null
fi
cmake --build build-asan --parallel "$(nproc 2>/dev/null || echo 2)"
cd build-asan
QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --output-on-failure --parallel "$(nproc 2>/dev/null || echo 2)" "$@"
