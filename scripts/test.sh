#!/usr/bin/env bash
# Builds and runs every test under the German locale (widget tests run on the offscreen platform).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
# As users run it: a German locale, where the C library writes and reads a decimal comma.
export LANG=de_DE.UTF-8
unset LC_ALL
cd build && ctest --output-on-failure -j"$(nproc)"
