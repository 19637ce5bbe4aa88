#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the Debian packages the build, the tests and the tools need, only
# when one is missing. Safe to run again: with everything present it only checks.
set -euo pipefail

packages=(
    build-essential cmake ccache
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-qpa-plugins libqt6svg6
    libgl-dev
    fonts-liberation fonts-dejavu-core
    xvfb xauth xdotool iproute2
    clang libclang-rt-14-dev
    clang-format clang-tidy
    dpkg-dev file desktop-file-utils appstream
    reuse lintian help2man python3 man-db fontconfig
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    sudo=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
    sudo=(sudo -n)
else
    echo "error: these Debian packages are missing: ${missing[*]}" >&2
    echo "Install them as root, then run make again:" >&2
    echo "    apt-get install --no-install-recommends ${missing[*]}" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
