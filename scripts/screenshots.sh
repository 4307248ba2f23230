#!/usr/bin/env bash
# Pictures of every window in English and Chinese for docs/, of the main window at 144 DPI
# (scale 1.5), and of the largest windows on a 1024x600 screen, taken on a virtual X display. Usage: scripts/screenshots.sh [output dir, default docs]
# Needs xvfb-run; a window manager (openbox) adds the title bars when it is installed.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(mkdir -p "${1:-docs}" && cd "${1:-docs}" && pwd)
scripts/build.sh norvik_screenshots

run() { # scale, then the pictures to take (none: all of them); SCREEN overrides the screen's size
    local home
    home=$(mktemp -d)
    HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$1 NORVIK_SCREENSHOT_DIR=$out \
        xvfb-run -a -s "-screen 0 ${SCREEN:-1440x900}x24" bash -c '
            if command -v openbox >/dev/null; then openbox >/dev/null 2>&1 & sleep 1; fi
            build/scripts/screenshots/norvik_screenshots "$@"' screenshots "${@:2}"
    rm -rf "$home"
}

run 1
run 1.5 mainWindow
SCREEN=1024x600 run 1 smallScreen
echo "written to $out"
