#!/usr/bin/env bash
# Installs every Debian 12 package Parafrix needs to build, test, fuzz and run.
# Idempotent and non-interactive: does nothing when all packages are present.
set -euo pipefail

PACKAGES=(
    # toolchain
    build-essential cmake ninja-build pkg-config git
    # benchmark, fixture and quality scripts
    python3
    # Qt 6 (core, widgets, svg for the artwork, translations for standard dialogs)
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 qt6-translations-l10n
    # document filters
    libzip-dev libpoppler-private-dev zlib1g-dev
    # morphology: dictionaries and the Snowball stemmer
    libstemmer-dev hunspell-ru hunspell-en-us
    # the Russian thesaurus synonyms.dat is compiled from
    mythes-ru
    # fuzzing and sanitizers
    clang libclang-rt-14-dev
    # word processor automation and fixture generation
    libreoffice-writer libreoffice-dev
    # screenshots of the real window
    xvfb xauth fonts-dejavu-core
    # installing and packaging: the Debian package, its dependencies, and the checks
    # of the desktop entry and the AppStream metadata
    dpkg-dev file desktop-file-utils appstream
    # answering the office's own questions in the visible-office test
    xdotool
)

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "install-deps: all packages present"
    exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
echo "install-deps: installing ${missing[*]}"
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
