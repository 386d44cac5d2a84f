#!/usr/bin/env bash
# `cmake --install` into a scratch root: every file where a desktop expects it, valid metadata, and
# the installed programs working from there. The program folder /usr/bin is not writable for a user,
# so Home must fall back to ~/.local/share/Zahlfuchs and the bundled history be written there.
#   installed-tree.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
scratch=$(mktemp -d)
server=""
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$scratch"' EXIT
fail() { echo "FEHLER: $*" >&2; exit 1; }

DESTDIR="$scratch/root" cmake --install "$build" --prefix /usr >/dev/null
usr="$scratch/root/usr"
for f in bin/zahlfuchs bin/zahlfuchs-cli bin/zahlfuchs-drawserver share/zahlfuchs/keno_draws.csv \
         share/applications/de.zahlfuchs.Zahlfuchs.desktop share/metainfo/de.zahlfuchs.Zahlfuchs.metainfo.xml \
         share/icons/hicolor/scalable/apps/zahlfuchs.svg share/man/man1/zahlfuchs-cli.1 \
         share/doc/zahlfuchs/README.md share/doc/zahlfuchs/LICENSE share/doc/zahlfuchs/THIRD-PARTY.md \
         share/doc/zahlfuchs/SOURCE-data.md; do
    [ -e "$usr/$f" ] || fail "$f fehlt"
done
[ -x "$usr/bin/zahlfuchs-drawserver" ] || fail "zahlfuchs-drawserver ist nicht ausführbar"
grep -q '^Name=Zahlfuchs$' "$usr/share/applications/de.zahlfuchs.Zahlfuchs.desktop" || fail "Name fehlt"
grep -q '^Icon=zahlfuchs$' "$usr/share/applications/de.zahlfuchs.Zahlfuchs.desktop" || fail "Icon fehlt"
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$usr/share/metainfo/de.zahlfuchs.Zahlfuchs.metainfo.xml" >/dev/null ||
        fail "appstreamcli lehnt die Metadaten ab"
fi
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$usr/share/applications/de.zahlfuchs.Zahlfuchs.desktop" || fail "desktop-Datei ungültig"
fi
# (whole outputs first: grep -q ending a pipe early would fail it under pipefail)
manual=$(MANWIDTH=100 man -l "$usr/share/man/man1/zahlfuchs-cli.1" 2>/dev/null)
grep -q 'import FILE' <<<"$manual" || fail "man page ohne import"
grep -q '^  import  ' <<<"$("$usr/bin/zahlfuchs-cli" --help)" || fail "--help ohne import"
grep -q '^zahlfuchs-cli [0-9]' <<<"$("$usr/bin/zahlfuchs-cli" --version)" || fail "--version"

# As a user: /usr/bin read-only for them, an empty home.
chmod 0755 "$scratch" "$scratch/root"
mkdir -m 0777 "$scratch/home"
as_user=()
if [ "$(id -u)" = 0 ]; then as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups); fi
chmod 0555 "$usr/bin"
run_cli() { env -i HOME="$scratch/home" PATH=/usr/bin:/bin "${as_user[@]}" "$usr/bin/zahlfuchs-cli" "$@"; }
draws=$(run_cli draws | wc -l)
[ "$draws" = 7666 ] || fail "draws: $draws Ziehungen statt 7666"
[ -s "$scratch/home/.local/share/Zahlfuchs/Keno.dat" ] || fail "Keno.dat nicht im Benutzerordner"
[ ! -e "$usr/bin/Keno.dat" ] || fail "Keno.dat im Programmordner"
grep -q '^position;7665$' <<<"$(run_cli --date 29.12.2025 show)" || fail "show"
chmod 0755 "$usr/bin"

# The installed draw server serves the installed history.
port_file="$scratch/port"
"$usr/bin/zahlfuchs-drawserver" --port 0 >"$port_file" &
server=$!
for _ in $(seq 50); do [ -s "$port_file" ] && break; sleep 0.1; done
port=$(head -1 "$port_file")
[ -n "$port" ] || fail "zahlfuchs-drawserver meldet keinen Port"
answer=$(python3 -c "import urllib.request,sys; print(urllib.request.urlopen(sys.argv[1]).read().decode())" \
    "http://127.0.0.1:$port/zahlen/keno.asp?Datei=20251229.txt")
case "$answer" in 29.12.2025,6,28,4,17,*) ;; *) fail "zahlfuchs-drawserver antwortet: $answer" ;; esac
echo "Installiert und lauffähig."
