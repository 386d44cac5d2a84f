#!/usr/bin/env bash
# Builds and runs every test (widget tests run on the offscreen platform).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
cd build && ctest --output-on-failure -j"$(nproc)"
