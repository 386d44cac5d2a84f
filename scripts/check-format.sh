#!/usr/bin/env bash
# Fails when a tracked C++ file does not follow .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
files=$(git ls-files '*.cpp' '*.h' 2>/dev/null || find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
clang-format --dry-run --Werror $files
echo "Every C++ file follows .clang-format."
