#!/usr/bin/env bash
# The layer check must fail when a file includes a floor above it: each planted include goes into a
# scratch copy of the tree, which the check must then refuse; the unchanged copy must pass.
set -euo pipefail
src=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for d in base core platform app ui cli scripts; do cp -r "$src/$d" "$scratch/"; done
check() { /usr/bin/python3 "$scratch/scripts/check-layers.py" --root "$scratch" >/dev/null; }
check || { echo "the unchanged tree fails the check"; exit 1; }
plant() { # FILE LINE
  cp "$scratch/$1" "$scratch/$1.orig"
  printf '%s\n' "$2" >>"$scratch/$1"
  if check; then echo "not caught: $2 in $1"; exit 1; fi
  mv "$scratch/$1.orig" "$scratch/$1"
}
plant core/draws/DrawStore.cpp '#include "app/draws/Browser.h"'
plant core/ports/Seams.h '#include "app/generator/GeneratorController.h"'
plant core/ports/Prompter.h '#include "core/submission/GameOptions.h"'
plant core/stats/Statistics.h '#include "platform/qt/Paths.h"'
plant core/mail/MimeMessage.cpp '#include <curl/curl.h>'
plant core/tips/TipLine.h '#include <QString>'
plant base/Text.cpp '#include "core/draws/DrawRecord.h"'
plant platform/qt/QtShell.cpp '#include "app/Model.h"'
plant app/Model.cpp '#include "ui/MainWindow.h"'
plant cli/main.cpp '#include "ui/MainWindow.h"'
# A source built into a library of another floor.
printf 'zf_core core app/Model.cpp\n' >"$scratch/floors.txt"
if /usr/bin/python3 "$scratch/scripts/check-layers.py" --root "$scratch" --floors "$scratch/floors.txt" >/dev/null; then
  echo "not caught: app/Model.cpp built into zf_core"; exit 1
fi
echo "every planted violation was caught"
