#!/usr/bin/env bash
# Builds the Debian package of Parafrix (cpack -G DEB) and prints its path.
#   scripts/package.sh [BUILD_DIR] [extra cmake arguments...]
# An existing build folder is built and packaged as it is configured. A new one
# (default: build-package) is configured for release: optimised, without tests and
# benchmarks. The package lands in BUILD_DIR/package/.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR="${1:-build-package}"
shift || true

if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
    cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPARAFRIX_WERROR=ON \
        -DPARAFRIX_BUILD_TESTS=OFF -DPARAFRIX_BUILD_BENCH=OFF "$@" >/dev/null
elif [ $# -gt 0 ]; then
    cmake "$BUILD_DIR" "$@" >/dev/null
fi
cmake --build "$BUILD_DIR" --parallel "$(nproc)" >/dev/null

out="$BUILD_DIR/package"
rm -rf "$out"
if ! (cd "$BUILD_DIR" && cpack -G DEB -B "$PWD/package") >"$BUILD_DIR/cpack.log" 2>&1; then
    cat "$BUILD_DIR/cpack.log" >&2
    exit 1
fi
deb=$(ls "$out"/*.deb)
echo "$deb"
