#!/usr/bin/env bash
# Sets up, builds (warnings as errors) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build
cd build
ctest --output-on-failure --parallel "$(nproc)"
