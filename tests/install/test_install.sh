#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks it as a desktop and a package would see
# it: both programs run from there and tell the version, the desktop entry and the metainfo
# validate and name what was installed, and the manual pages render cleanly and document every
# command and option the programs offer.
# Usage: test_install.sh SOURCE_DIR BUILD_DIR VERSION APP_ID
set -euo pipefail
source=$1 build=$2 version=$3 id=$4

for tool in desktop-file-validate appstreamcli man; do
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
for page in "$man1"/*.1; do
    out=$(LC_ALL=C.UTF-8 man --warnings -l "$page" 2>&1 >/dev/null) || true
    [ -z "$out" ] || fail "$(basename "$page") renders with warnings: $out"
done
cli=$root/bin/norvik-r7-cli
documented "$man1/norvik-r7.1" "$("$root/bin/norvik-r7" --help)"
documented "$man1/norvik-r7-cli.1" "$("$cli" --help)"
cli_page=$(render "$man1/norvik-r7-cli.1")
for command in $("$cli" --help | sed -n 's/^  \([a-z-]\+\) .*/\1/p'); do
    grep -qE "^   $command( |$)" <<<"$cli_page" || fail "norvik-r7-cli.1 has no section for $command"
    documented "$man1/norvik-r7-cli.1" "$("$cli" "$command" --help)"
done

[ "$failures" -eq 0 ] || exit 1
echo "installed files check out"
