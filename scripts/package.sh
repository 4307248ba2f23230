#!/usr/bin/env bash
# Installs what the build needs and makes the Debian package in ./build-deb (its dependencies
# come from dpkg-shlibdeps), then checks it with lintian. The package is built apart from
# ./build, with the distribution's compiler and linker flags (fortify, stack protector, relro,
# bind-now, position-independent executables), and without the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
for var in CPPFLAGS CFLAGS CXXFLAGS LDFLAGS; do
    export "$var=$(dpkg-buildflags --get "$var")"
done
# CMake compiles C++ with CXXFLAGS alone: the preprocessor's flags (_FORTIFY_SOURCE) go there too.
export CXXFLAGS="$CPPFLAGS $CXXFLAGS"
generator=()
if command -v ninja >/dev/null 2>&1; then
    generator=(-G Ninja)
fi
if [ ! -f build-deb/CMakeCache.txt ]; then
    cmake -S . -B build-deb "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DNORVIK_BUILD_TESTS=OFF -DNORVIK_BUILD_BENCH=OFF >/dev/null
fi
cmake --build build-deb --parallel "$(nproc 2>/dev/null || echo 2)"
cd build-deb
rm -f ./*.deb
cpack -G DEB >/dev/null
deb=$(ls ./*.deb | head -1)
# Errors fail the package; warnings are shown.
lintian --fail-on error "$deb"
echo "Built build-deb/${deb#./}; install it with: sudo apt install ./build-deb/${deb#./}"
