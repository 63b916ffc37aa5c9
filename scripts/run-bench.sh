#!/usr/bin/env bash
# Builds an optimised tree (build-release/) and runs the benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build-release -DCMAKE_BUILD_TYPE=Release -DPARAFRIX_ASSERTIONS=OFF \
    -DPARAFRIX_BUILD_TESTS=OFF >/dev/null
build-release/bin/bench_check "$@"
