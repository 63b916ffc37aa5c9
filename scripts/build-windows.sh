#!/usr/bin/env bash
# Cross-builds Parafrix for 64-bit Windows with MinGW-w64 against the cache that
# scripts/build-windows-deps.sh fills, then lays out the deployment folder and the
# packages:
#   scripts/build-windows.sh [BUILD_DIR]      (default build-windows)
# BUILD_DIR/host    host build of the tools that run at build time (dictionary
#                   compiler, artwork renderer)
# BUILD_DIR/win     the Windows build: bin/ holds the programs and the tests
# BUILD_DIR/deploy  the runnable folder: programs, DLLs, plugins, mhelper.dat, synonyms.dat
# BUILD_DIR/win/Parafrix-<version>-win64.{zip,exe}  portable zip and installer
# MHELPER_DATA_FILE: a prebuilt mhelper.dat to reuse instead of compiling one.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${1:-build-windows}"
mkdir -p "$BUILD"
BUILD="$(cd "$BUILD" && pwd)"
DEPS="${PARAFRIX_WINDOWS_DEPS:-${XDG_CACHE_HOME:-$HOME/.cache}/parafrix-windows}"
JOBS="${PARAFRIX_WINDOWS_JOBS:-2}"
QT="$DEPS/qt6"
if [ ! -f "$QT/lib/cmake/Qt6/qt.toolchain.cmake" ] && [ -f "$ROOT/../shared/qt6-mingw/lib/cmake/Qt6/qt.toolchain.cmake" ]; then
    QT="$(cd "$ROOT/../shared/qt6-mingw" && pwd)"
fi
if [ ! -f "$QT/lib/cmake/Qt6/qt.toolchain.cmake" ]; then
    echo "build-windows: no Qt for Windows in $DEPS/qt6 or ../shared/qt6-mingw: run scripts/build-windows-deps.sh" >&2
    exit 1
fi
for lib in "$DEPS/lib/libstemmer.a" "$DEPS/lib/libzip.dll.a"; do
    [ -f "$lib" ] || { echo "build-windows: $lib missing: run scripts/build-windows-deps.sh" >&2; exit 1; }
done
export PARAFRIX_WINDOWS_DEPS="$DEPS"

# 1. Host tools: the artwork renderer, the thesaurus, and the dictionary unless one is given.
HOST="$BUILD/host"
host_args=(-DPARAFRIX_BUILD_TESTS=OFF -DPARAFRIX_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Release)
host_targets=(parafrix-render-artwork)
if [ -n "${MHELPER_DATA_FILE:-}" ]; then
    host_args+=(-DMHELPER_DATA_FILE="$MHELPER_DATA_FILE")
fi
host_targets+=(mhelper_data mhelper_synonyms)
cmake -S "$ROOT" -B "$HOST" -G Ninja "${host_args[@]}" >/dev/null
cmake --build "$HOST" --parallel "$JOBS" --target "${host_targets[@]}"
"$HOST/bin/parafrix-render-artwork" "$BUILD/artwork"

# 2. The Windows build. pkg-config answers from the cache only.
WIN="$BUILD/win"
PKG_CONFIG_LIBDIR="$DEPS/lib/pkgconfig" PKG_CONFIG_PATH="" \
cmake -S "$ROOT" -B "$WIN" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$QT/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$ROOT/cmake/windows/mingw-w64-x86_64.cmake" \
    -DCMAKE_PREFIX_PATH="$DEPS" -DPARAFRIX_WINDOWS_DEPS="$DEPS" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_BINDIR=. -DCMAKE_INSTALL_LIBDIR=lib \
    -DPARAFRIX_WERROR=ON -DPARAFRIX_BUILD_BENCH=OFF \
    -DMHELPER_DATA_FILE="$HOST/bin/mhelper.dat" -DMHELPER_SYNONYMS_FILE="$HOST/bin/synonyms.dat" \
    -DPARAFRIX_ARTWORK_DIR="$BUILD/artwork"
cmake --build "$WIN" --parallel "$JOBS"

# 3. The deployment folder and the packages.
rm -rf "$BUILD/deploy"
cmake --install "$WIN" --prefix "$BUILD/deploy" --strip >/dev/null
(cd "$WIN" && cpack -G ZIP >/dev/null && cpack -G NSIS >/dev/null)
echo "build-windows: deployment folder $BUILD/deploy ($(du -sh "$BUILD/deploy" | cut -f1))"
ls -l "$WIN"/Parafrix-*-win64.* 2>/dev/null | awk '{print "build-windows: " $5 " bytes " $9}'
