#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for SECONDS (default 60).
set -euo pipefail
cd "$(dirname "$0")/.."
secs="${1:-60}"
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZF_FUZZ=ON >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target fuzz_records fuzz_tipcheck fuzz_answer fuzz_settings fuzz_tipfile fuzz_import fuzz_mime
for t in records tipcheck answer settings tipfile import mime; do
  mkdir -p build-fuzz/corpus-$t
  build-fuzz/fuzz_$t -max_total_time="$secs" build-fuzz/corpus-$t fuzz/corpus/$t
done
