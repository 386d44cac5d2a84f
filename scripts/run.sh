#!/usr/bin/env bash
# A newcomer's one command: install what is needed, build, start the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
exec build/zahlfuchs "$@"
