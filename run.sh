#!/usr/bin/env bash
# Installs what the build needs, builds the program and the command-line tool (nothing else), and
# starts Norvik R7.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "$(uname)" = "Linux" ]; then
    scripts/build.sh norvik-r7-cli
    echo "There is no graphical display here, so the Norvik R7 window cannot open."
    echo "Run it on a desktop session, or use the command-line tool instead:"
    echo "    build/cli/norvik-r7-cli --help"
    exit 1
fi
scripts/build.sh norvik-r7 norvik-r7-cli
exec build/app/norvik-r7 "$@"
