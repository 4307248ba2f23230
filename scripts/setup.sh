#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the screenshots and the .deb package need.
# Idempotent: quiet and quick when everything is already there.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-serialport-dev qt6-svg-dev qt6-translations-l10n
    libgtest-dev libgmock-dev
    xvfb xauth openbox
    fonts-wqy-microhei fonts-noto-cjk
    desktop-file-utils appstream shared-mime-info man-db dpkg-dev file
    poppler-utils lintian
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
