#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages Kestrix needs to build, test and run, if any are
# missing. Works as root, or through sudo for a normal user.
set -euo pipefail

packages=(cmake ninja-build g++ qt6-base-dev qt6-serialport-dev qt6-translations-l10n libxlsxwriter-dev unzip xvfb xauth x11-utils "$@")
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "Missing packages: ${missing[*]}; run this as root or install sudo." >&2
    exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if ! "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; then
    "${as_root[@]}" apt-get update
    "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
