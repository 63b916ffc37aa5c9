#!/usr/bin/env bash
# Installs the Debian 12 packages the Windows cross-build needs on top of
# scripts/install-deps.sh: the MinGW-w64 compilers, wine to run the results,
# NSIS for the installer, and dpkg-dev with a deb-src entry so Qt's and the
# libraries' sources come from Debian's own source packages.
# Idempotent and non-interactive.
set -euo pipefail

PACKAGES=(
    # cross compilers (posix threads: Qt needs std::thread) and binutils
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    # source packages and the host Qt of the same version (moc, rcc, uic)
    dpkg-dev qt6-base-dev qt6-base-dev-tools qt6-svg-dev
    # running and testing the programs, rendering the artwork on the host
    wine wine64 xvfb xauth fonts-dejavu-core
    # the installer and its archive; the Russian locale wine runs the tests in
    nsis zip unzip locales
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

# A deb-src twin of every deb822 "Types: deb" entry of the main Debian list.
SRC_LIST=/etc/apt/sources.list.d/parafrix-debian-src.sources
updated=0
if [ ! -f "$SRC_LIST" ] && [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
        | $SUDO tee "$SRC_LIST" >/dev/null
    $SUDO apt-get update -qq
    updated=1
fi

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    echo "install-windows-deps: all packages present"
else
    echo "install-windows-deps: installing ${missing[*]}"
    [ "$updated" -eq 1 ] || $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# wine takes its code pages from the locale: the tests run in ru_RU.UTF-8.
if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
    $SUDO sed -i 's/^# *\(ru_RU.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^ru_RU.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null
fi
