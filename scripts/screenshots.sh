#!/usr/bin/env bash
# Saves every tab and dialog of the desktop program, at the design size and at 1280 x 900, as users
# see them: under Xvfb and the German locale. Default folder: docs/screenshots.
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-docs/screenshots}"
cmake --build build --target zf_screenshots >/dev/null
LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 xvfb-run -a -s "-screen 0 1600x1000x24" build/zf_screenshots "$out"
echo "Bilder in $out"
