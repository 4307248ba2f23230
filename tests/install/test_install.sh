#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks it as a desktop and a package would see
# it: both programs run from there and tell the version, the desktop entry and the metainfo
# validate and name what was installed, a data file's type is known to the desktop and opens the
# program, the package's documents are there, and the manual pages (compressed) render cleanly
# and document every command and option the programs offer.
# Usage: test_install.sh SOURCE_DIR BUILD_DIR VERSION APP_ID
set -euo pipefail
source=$1 build=$2 version=$3 id=$4

for tool in desktop-file-validate appstreamcli man update-mime-database; do
    command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/setup.sh"; exit 1; }
done
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
cmake --install "$build" --prefix "$root" >/dev/null
share=$root/share
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for program in norvik-r7 norvik-r7-cli; do
    got=$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/bin/$program" --version) || fail "$program --version exits with $?"
    [ "$got" = "$program $version" ] || fail "$program --version says '$got', not '$program $version'"
done

desktop=$share/applications/$id.desktop
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
if grep -E 'error|warning' <<<"$out"; then fail "desktop-file-validate complains"; fi
exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$root/bin/$exec_program" ] || fail "Exec names $exec_program, which is not installed"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "$share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon $icon"
[ -f "$share/icons/hicolor/48x48/apps/$icon.png" ] || fail "no 48x48 icon $icon"

metainfo=$share/metainfo/$id.metainfo.xml
out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $out"
for shot in $(grep -oE '/docs/[^<]+\.png' "$metainfo"); do
    [ -f "$source$shot" ] || fail "the metainfo shows $shot, which docs/ does not have"
done
grep -q "<release version=\"$version\" date=\"[0-9]\{4\}-[0-9][0-9]-[0-9][0-9]\"" "$metainfo" ||
    fail "the metainfo has no release entry for $version"

# The desktop entry claims the data file type that the installed definition declares.
mime=$(sed -n 's/^MimeType=\([^;]*\);$/\1/p' "$desktop")
definition=$share/mime/packages/$id.xml
[ -n "$mime" ] || fail "the desktop entry declares no MimeType"
grep -q "<mime-type type=\"$mime\">" "$definition" 2>/dev/null || fail "$definition does not define $mime"
grep -q '<glob pattern="\*\.dat"/>' "$definition" 2>/dev/null || fail "$definition does not match *.dat"
# The desktop's own tool reads the definition as a file manager would.
out=$(update-mime-database "$share/mime" 2>&1) || fail "update-mime-database: $out"
grep -q "^$mime:\*\.dat$" "$share/mime/globs" 2>/dev/null || fail "the installed types do not map *.dat to $mime"

docs=$share/doc/norvik-r7
grep -q '^Copyright: ' "$docs/copyright" 2>/dev/null || fail "no copyright file in $docs"
gzip -dc "$docs/changelog.gz" 2>/dev/null | head -1 | grep -qF "norvik-r7 ($version)" ||
    fail "changelog.gz in $docs does not start with $version"

# The manual pages render without warnings and name every command and option the help lists.
render() { LC_ALL=C MANWIDTH=200 man -l "$1" | col -b; }
documented() { # page, help text
    local page=$1 text word
    text=$(render "$page")
    # Words that start with a dash, less file names in examples (-repeater.dat).
    for word in $(grep -oE -- '(^|[ [])--?[a-z][a-z-]*\.?' <<<"$2" | grep -v '\.$' | tr -d ' [' | sort -u); do
        grep -qF -- "$word" <<<"$text" || fail "$(basename "$page") does not mention $word"
    done
}
man1=$share/man/man1
[ -z "$(ls "$man1"/*.1 2>/dev/null)" ] || fail "manual pages installed uncompressed"
for page in "$man1"/*.1.gz; do
    out=$(LC_ALL=C.UTF-8 man --warnings -l "$page" 2>&1 >/dev/null) || true
    [ -z "$out" ] || fail "$(basename "$page") renders with warnings: $out"
done
cli=$root/bin/norvik-r7-cli
documented "$man1/norvik-r7.1.gz" "$("$root/bin/norvik-r7" --help)"
documented "$man1/norvik-r7-cli.1.gz" "$("$cli" --help)"
cli_page=$(render "$man1/norvik-r7-cli.1.gz")
for command in $("$cli" --help | sed -n 's/^  \([a-z-]\+\) .*/\1/p'); do
    grep -qE "^   $command( |$)" <<<"$cli_page" || fail "norvik-r7-cli.1.gz has no section for $command"
    documented "$man1/norvik-r7-cli.1.gz" "$("$cli" "$command" --help)"
done

[ "$failures" -eq 0 ] || exit 1
echo "installed files check out"
