#!/usr/bin/env bash
# Fails when a file of the core includes the application (app/) or Qt, or a file of base/ includes
# anything of the project outside base/. Arguments: files or folders, relative to the source root.
set -euo pipefail
cd "$(dirname "$0")/.."
bad=0
for item in "$@"; do
  if [ -d "$item" ]; then files=$(find "$item" -name '*.h' -o -name '*.cpp'); else files=$item; fi
  for f in $files; do
    while IFS= read -r line; do
      echo "$f: $line"
      bad=1
    done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](app/|ui/|cli/|Q[A-Za-z]+|qt)' "$f" || true)
    if [[ $f == base/* ]]; then
      while IFS= read -r line; do
        echo "$f: $line"
        bad=1
      done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$f" | grep -v '"base/' || true)
    fi
  done
done
if [ "$bad" != 0 ]; then
  echo "The core must include neither app/ nor Qt, and base/ only itself."
  exit 1
fi
echo "The core includes neither app/ nor Qt."
