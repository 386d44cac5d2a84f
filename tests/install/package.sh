#!/usr/bin/env bash
# The Debian package of a build: made by CPack, unpacked with dpkg -x into a scratch root, and the
# unpacked zahlfuchs-cli run from there.
#   package.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FEHLER: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$scratch/out" >/dev/null)
deb=$(ls "$scratch"/out/zahlfuchs_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6charts6 libqt6widgets6 libqt6network6 libcurl4 libc6 python3; do
    case "$depends" in *"$lib"*) ;; *) fail "Depends ohne $lib: $depends" ;; esac
done
listing=$(dpkg-deb -c "$deb")
for f in ./usr/bin/zahlfuchs ./usr/bin/zahlfuchs-cli ./usr/bin/zahlfuchs-drawserver ./usr/share/man/man1/zahlfuchs-cli.1 \
         ./usr/share/applications/de.zahlfuchs.Zahlfuchs.desktop; do
    case "$listing" in *" $f"$'\n'* | *" $f") ;; *) fail "$f fehlt im Paket" ;; esac
done

dpkg -x "$deb" "$scratch/root"
cli="$scratch/root/usr/bin/zahlfuchs-cli"
home="$scratch/home"
mkdir "$home"
last=$(HOME="$home" "$cli" --home "$home" --settings "$home/s.reg" draws | tail -1)
[ "${last%%;*}" = 29.12.2025 ] || fail "draws endet mit: $last"
shown=$(HOME="$home" "$cli" --home "$home" --settings "$home/s.reg" --date 29.12.2025 show)
grep -q '^position;7665$' <<<"$shown" || fail "show: $shown"
echo "Paket $(basename "$deb") installiert und lauffähig."
