#!/usr/bin/env bash
# Builds the rules (core) and the file layer (io, with its Windows branch) for Windows with
# MinGW-w64 and runs their tests under Wine. The Qt programs are not cross-built: Debian has no
# Qt for MinGW. Needs: sudo apt-get install g++-mingw-w64-x86-64-posix wine64
set -euo pipefail
cd "$(dirname "$0")/.."
out=build-windows
prefix=$PWD/$out/prefix
jobs=$(nproc 2>/dev/null || echo 2)
export WINEDEBUG=-all WINEPREFIX=$PWD/$out/wine
if [ ! -f "$prefix/lib/libgtest.a" ]; then
    # GoogleTest from Debian's sources, built once for the same target.
    cmake -S /usr/src/googletest -B "$out/googletest" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" -DCMAKE_INSTALL_PREFIX="$prefix" >/dev/null
    cmake --build "$out/googletest" --parallel "$jobs"
    cmake --install "$out/googletest" >/dev/null
fi
if [ ! -f "$out/CMakeCache.txt" ]; then
    cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" \
        -DGTest_DIR="$prefix/lib/cmake/GTest" -DNORVIK_BUILD_GUI=OFF >/dev/null
fi
cmake --build "$out" --parallel "$jobs"
wine "$out/tests/norvik_core_tests.exe" --gtest_brief=1
wine "$out/tests/norvik_io_tests.exe" --gtest_brief=1
