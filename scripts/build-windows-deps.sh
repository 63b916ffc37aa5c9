#!/usr/bin/env bash
# Builds Qt 6 and the libraries Parafrix needs for 64-bit Windows (MinGW-w64)
# from Debian's source packages, into a cache folder outside the repository:
#   ${PARAFRIX_WINDOWS_DEPS:-${XDG_CACHE_HOME:-~/.cache}/parafrix-windows}
#   scripts/build-windows-deps.sh [STAGE...]    stages: qt svg zlib libzip snowball
# Each stage leaves a stamp in the cache and is skipped when the stamp is
# there, so a complete cache makes the script do nothing. When a prebuilt
# Qt exists at ../shared/qt6-mingw (beside the repository), it is copied
# instead of built. Qt Svg is optional: without it the artwork is rendered
# to PNG on the host. Poppler is not built: the Windows build reads no PDF.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
DEPS="${PARAFRIX_WINDOWS_DEPS:-${XDG_CACHE_HOME:-$HOME/.cache}/parafrix-windows}"
JOBS="${PARAFRIX_WINDOWS_JOBS:-2}"
SHARED_QT="${PARAFRIX_SHARED_QT:-$ROOT/../shared/qt6-mingw}"
STAGES=("$@")
[ ${#STAGES[@]} -gt 0 ] || STAGES=(zlib libzip snowball qt svg)

mkdir -p "$DEPS/src" "$DEPS/stamps"
DEPS="$(cd "$DEPS" && pwd)"
export PARAFRIX_WINDOWS_DEPS="$DEPS"
TOOLCHAIN="$DEPS/mingw-w64-x86_64.cmake"
cp "$ROOT/cmake/windows/mingw-w64-x86_64.cmake" "$TOOLCHAIN"

log() { echo "build-windows-deps: $*"; }
done_stage() { [ -f "$DEPS/stamps/$1" ]; }
mark_done() { date -u +%FT%TZ > "$DEPS/stamps/$1"; }

# Unpacks a Debian source package (with Debian's patches applied) into
# $DEPS/src/<package> and prints that folder.
fetch_source() {
    local pkg="$1" dir="$DEPS/src/$1"
    if [ ! -d "$dir/unpacked" ]; then
        rm -rf "$dir" && mkdir -p "$dir"
        # Newest version first; a version the mirror no longer serves (404)
        # falls back to the next one.
        local v ok=0
        for v in $(apt-cache showsrc --only-source "$pkg" | sed -n 's/^Version: //p' | sort -Vru); do
            if (cd "$dir" && apt-get source -qq --only-source "$pkg=$v" >&2); then ok=1; break; fi
            rm -rf "${dir:?}"/*
        done
        [ "$ok" -eq 1 ] || { log "cannot fetch the source of $pkg"; return 1; }
        local tree
        tree="$(find "$dir" -mindepth 1 -maxdepth 1 -type d | head -n1)"
        [ -n "$tree" ] || { log "no source tree for $pkg"; return 1; }
        mv "$tree" "$dir/unpacked"
    fi
    echo "$dir/unpacked"
}

cmake_cross() {
    cmake -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$DEPS" -DCMAKE_PREFIX_PATH="$DEPS" "$@"
}

# zlib goes static into libzip.dll (Qt's bundled copy is private). Debian's
# source lacks win32/, which its CMake build needs, so the few files are
# compiled directly.
stage_zlib() {
    local src; src="$(fetch_source zlib)"
    local b="$DEPS/build/zlib"
    mkdir -p "$b" "$DEPS/include" "$DEPS/lib"
    cp "$src/zconf.h.in" "$b/zconf.h"
    local f objs=()
    for f in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback \
        inffast inflate inftrees trees uncompr zutil; do
        x86_64-w64-mingw32-gcc-posix -O2 -I"$b" -c "$src/$f.c" -o "$b/$f.o"
        objs+=("$b/$f.o")
    done
    rm -f "$DEPS/lib/libz.a"
    x86_64-w64-mingw32-ar rcs "$DEPS/lib/libz.a" "${objs[@]}"
    cp "$src/zlib.h" "$b/zconf.h" "$DEPS/include/"
}

stage_libzip() {
    local src; src="$(fetch_source libzip)"
    rm -rf "$DEPS/build/libzip"
    cmake_cross -S "$src" -B "$DEPS/build/libzip" -DBUILD_SHARED_LIBS=ON \
        -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF -DENABLE_GNUTLS=OFF \
        -DENABLE_OPENSSL=OFF -DENABLE_MBEDTLS=OFF -DENABLE_COMMONCRYPTO=OFF \
        -DENABLE_WINDOWS_CRYPTO=OFF -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF \
        -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF -DZLIB_ROOT="$DEPS"
    cmake --build "$DEPS/build/libzip" --parallel "$JOBS"
    cmake --install "$DEPS/build/libzip"
}

# Snowball's generator runs on the host and writes C; only the stemmers and
# their runtime are compiled for Windows, into a static libstemmer.a.
stage_snowball() {
    local src; src="$(fetch_source snowball)"
    rm -rf "$DEPS/build/snowball" && cp -a "$src" "$DEPS/build/snowball"
    local b="$DEPS/build/snowball"
    make -C "$b" -j"$JOBS" snowball libstemmer/modules.h libstemmer/libstemmer.c >/dev/null
    make -C "$b" -j"$JOBS" $(cd "$b" && make -pn 2>/dev/null | sed -n 's/^C_LIB_SOURCES := //p' | head -n1) \
        >/dev/null 2>&1 || make -C "$b" -j"$JOBS" >/dev/null
    mkdir -p "$b/win" "$DEPS/include" "$DEPS/lib"
    local objs=()
    for f in "$b"/runtime/api.c "$b"/runtime/utilities.c "$b"/libstemmer/libstemmer.c "$b"/src_c/*.c; do
        local o="$b/win/$(basename "${f%.c}").o"
        x86_64-w64-mingw32-gcc-posix -O2 -I"$b/include" -I"$b" -c "$f" -o "$o"
        objs+=("$o")
    done
    rm -f "$DEPS/lib/libstemmer.a"
    x86_64-w64-mingw32-ar rcs "$DEPS/lib/libstemmer.a" "${objs[@]}"
    cp "$b/include/libstemmer.h" "$DEPS/include/"
}

stage_qt() {
    local qt="$DEPS/qt6"
    if [ -f "$SHARED_QT/lib/cmake/Qt6/qt.toolchain.cmake" ]; then
        log "copying the prebuilt Qt from $SHARED_QT"
        rm -rf "$qt" && cp -a "$SHARED_QT" "$qt"
        return
    fi
    local src; src="$(fetch_source qt6-base)"
    local b="$DEPS/build/qt"
    # Qt 6.4 builds its DirectWrite font database only together with Direct2D, yet
    # the Windows platform plugin uses it whenever DirectWrite 3 is on: without
    # Direct2D the plugin fails to link. Make the plugin ask for both, so that it
    # falls back to the GDI font database.
    sed -i 's/^#if QT_CONFIG(directwrite3)$/#if QT_CONFIG(directwrite3) \&\& QT_CONFIG(direct2d)/' \
        "$src/src/plugins/platforms/windows/qwindowsintegration.cpp"
    # An interrupted build goes on where it stopped (ninja knows what is done).
    if [ -f "$b/build.ninja" ] && [ -f "$b/.configured" ]; then
        log "qt: resuming the build in $b"
        cmake --build "$b" --parallel "$JOBS"
        cmake --install "$b"
        rm -rf "$b"
        return
    fi
    rm -rf "$b" "$qt" && mkdir -p "$b"
    # Only Core, Gui, Widgets and Test; Windows' own plugins without Direct2D
    # and tablets (Debian's source lacks the wintab headers).
    (cd "$b" && "$src/configure" -prefix "$qt" -xplatform win32-g++ -release -shared \
        -nomake examples -nomake tests -no-opengl -no-feature-vulkan -no-pkg-config \
        -no-icu -no-fontconfig -no-glib -no-zstd -qt-zlib -qt-pcre -qt-harfbuzz \
        -qt-freetype -qt-libpng -qt-libjpeg -qt-doubleconversion \
        -no-feature-tabletevent -no-feature-direct2d -no-feature-sql -no-feature-network \
        -no-feature-dbus -no-feature-printsupport -no-feature-concurrent -no-feature-xml \
        -qt-host-path /usr -- -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake)
    touch "$b/.configured"
    cmake --build "$b" --parallel "$JOBS"
    cmake --install "$b"
    rm -rf "$b"
}

# Qt Svg is optional: Debian's mirror has answered 404 for its tarball.
stage_svg() {
    local qt="$DEPS/qt6"
    if [ -f "$qt/lib/cmake/Qt6Svg/Qt6SvgConfig.cmake" ]; then return; fi
    local src
    if ! src="$(fetch_source qt6-svg)"; then
        log "Qt Svg source unavailable: the artwork will be pre-rendered to PNG"
        rm -rf "$DEPS/src/qt6-svg"
        mkdir -p "$DEPS/stamps" && echo unavailable > "$DEPS/stamps/svg.unavailable"
        return 0
    fi
    local b="$DEPS/build/svg"
    rm -rf "$b"
    "$qt/bin/qt-configure-module" "$src" -- -B "$b" 2>/dev/null || \
        cmake -G Ninja -S "$src" -B "$b" -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
            -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$qt" -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
    cmake --build "$b" --parallel "$JOBS"
    cmake --install "$b"
    rm -rf "$b"
}

for s in "${STAGES[@]}"; do
    if done_stage "$s"; then log "$s: already in $DEPS"; continue; fi
    log "$s: building"
    start=$(date +%s)
    "stage_$s"
    rm -rf "$DEPS/build/$s"
    mark_done "$s"
    log "$s: done in $(( $(date +%s) - start )) s"
done
log "cache $DEPS: $(du -sh "$DEPS" --exclude=src | cut -f1) ($(du -sh "$DEPS" | cut -f1) with sources)"
