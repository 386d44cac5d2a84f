#!/usr/bin/env bash
# Checks that every include of the tree keeps to the floors (base -> core -> platform -> app -> ui, cli)
# and, given the build's list of sources per library (--floors FILE), that each source is built on the
# floor of its folder. Without arguments it checks the whole tree.
set -euo pipefail
exec /usr/bin/python3 "$(dirname "$0")/check-layers.py" "$@"
