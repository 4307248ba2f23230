#!/usr/bin/env bash
# Configures and builds into ./build (Release with debug info): the targets named as arguments,
# or everything, tests included, without any.
set -euo pipefail
cd "$(dirname "$0")/.."
generator=()
if command -v ninja >/dev/null 2>&1; then
    generator=(-G Ninja)
fi
if [ ! -f build/CMakeCache.txt ]; then
    # NORVIK_WERROR=ON (CI sets it) makes every warning an error.
    cmake -S . -B build "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DNORVIK_WERROR="${NORVIK_WERROR:-OFF}" >/dev/null
fi
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build build --parallel "$(nproc 2>/dev/null || echo 2)" "${targets[@]}"
