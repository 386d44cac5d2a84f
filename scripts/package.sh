#!/usr/bin/env bash
# Builds the programs (optimised as the tests build them; CPack strips the debug information) and the
# Debian package into dist/: zahlfuchs_<version>_<arch>.deb.
# Needs dpkg-dev (dpkg-shlibdeps computes the library dependencies); scripts/setup.sh installs it.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZF_BENCH=OFF >/dev/null
cmake --build build-package -j"$(nproc)" --target zahlfuchs zahlfuchs-cli
(cd build-package && cpack -G DEB -B "$PWD/../dist" >/dev/null)
rm -rf dist/_CPack_Packages
ls dist/*.deb
