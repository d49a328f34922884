#!/usr/bin/env bash
# Installs the Debian packages the build needs (Qt Charts for the monitor's
# plots, with Qt's OpenGL module that it is found through; and Qt's Russian
# texts for its own menus, PyVISA for the remote-control test, clang's
# libFuzzer for the fuzz targets, the packaging tools the package check
# runs), only when one is missing.
set -euo pipefail

packages=(g++ cmake make pkg-config googletest libgtest-dev libgmock-dev qt6-base-dev
          qt6-charts-dev libqt6opengl6-dev libftdi1-dev fonts-dejavu-core
          qt6-translations-l10n python3 python3-pyvisa python3-pyvisa-py clang-14
          libclang-rt-14-dev clang-format dpkg-dev file lintian desktop-file-utils
          appstream man-db)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        echo "sudo is not installed: as root, run" >&2
        echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
        exit 1
    fi
    sudo="sudo"
fi
$sudo apt-get update
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
