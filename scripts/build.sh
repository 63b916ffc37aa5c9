#!/usr/bin/env bash
# Configures and builds Parafrix into a build folder (default: build/), with
# warnings as errors and standard library assertions, as CI builds it.
#   scripts/build.sh [BUILD_DIR] [extra cmake arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR="${1:-build}"
shift || true
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPARAFRIX_WERROR=ON -DPARAFRIX_ASSERTIONS=ON "$@"
cmake --build "$BUILD_DIR" --parallel "$(nproc)"
