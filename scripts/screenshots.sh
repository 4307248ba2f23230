#!/usr/bin/env bash
# Screenshots of the main window under Xvfb, in English and Chinese, at 96 DPI and at 144 DPI
# (scale 1.5). Usage: scripts/screenshots.sh [output dir, default docs] [extra keys to press]
#   [data file to open, default tests/data/demo.dat]
# Needs xvfb-run, xdotool, imagemagick (called by full path: another "convert" may come first on PATH); a window manager (openbox) adds the title bar if present.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs}
keys=${2:-}
file=$(realpath "${3:-tests/data/demo.dat}")
app=$PWD/build/app/norvik-r7
mkdir -p "$out"
out=$(cd "$out" && pwd)

shot() { # language-index scale file
    local home
    home=$(mktemp -d)
    mkdir -p "$home/.config/NORVIK LABS"
    printf '[General]\nLanguage=%s\n' "$1" >"$home/.config/NORVIK LABS/Norvik R7.conf"
    HOME=$home XDG_CONFIG_HOME=$home/.config QT_SCALE_FACTOR=$2 KEYS=$keys APP=$app FILE=$file OUT=$3 \
        xvfb-run -a -s "-screen 0 1440x900x24" bash -c '
            if command -v openbox >/dev/null; then openbox >/dev/null 2>&1 & sleep 1; fi
            "$APP" "$FILE" >/dev/null 2>&1 &
            pid=$!
            for _ in $(seq 50); do
                win=$(xdotool search --name "Norvik R7" 2>/dev/null | head -1 || true)
                [ -n "$win" ] && break
                sleep 0.2
            done
            sleep 1.5
            if [ -n "$KEYS" ]; then xdotool key --delay 300 $KEYS; sleep 1; fi
            /usr/bin/import -window root "$OUT"
            kill $pid'
    rm -rf "$home"
    # Keep only the window (and an open menu) by trimming the empty desktop.
    /usr/bin/convert "$3" -bordercolor black -border 1 -trim +repage "$3"
}

shot 0 1 "$out/main-window-en.png"
shot 1 1 "$out/main-window-zh.png"
shot 0 1.5 "$out/main-window-en-144dpi.png"
shot 1 1.5 "$out/main-window-zh-144dpi.png"
echo "written to $out"
