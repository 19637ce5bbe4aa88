#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the Debian packages a make command needs, only when one is
# missing. Building and running the two programs needs the product's own
# set; the commands that test, lint, fuzz or package them add the workshop's
# sets on top. Safe to run again: with everything present it only checks.
#
# usage: scripts/install-deps.sh [--list] [COMMAND]
# COMMAND is the make target: run (the default), build, bench, soak,
# screenshot, test, faults, lint, sanitize, fuzz, package, windows or
# windows-check. --list prints the command's packages, one a line, and
# installs nothing.
set -euo pipefail
. "$(dirname "$0")/usage.sh"
offer_help "$@"

# Building and running the panel and the simulator: compiler, CMake, Qt 6
# with its platform plugins, and the fonts the window is laid out for.
product=(
    build-essential cmake
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-qpa-plugins libqt6svg6
    libgl-dev
    fonts-liberation fonts-dejavu-core
)
# The test suite of the ordinary build: the program on a virtual display,
# the desktop files, licences, manual pages and the package's checks, the
# build without the workshop (faster again with ccache), and the fault
# check's own test, which makes a small git tree; reuse asks git which
# files the tree ignores.
# The Wayland test runs both programs on a compositor of its own, with a
# session bus of its own for their accessibility trees. The number tests
# make a locale that writes decimals with a comma from locales' sources.
suite=(
    ccache git
    xvfb xauth xdotool iproute2
    weston qt6-wayland dbus-daemon
    file desktop-file-utils appstream
    reuse python3 help2man
    dpkg-dev lintian man-db fontconfig
    locales
)
lint=(clang-format clang-tidy)
sanitizers=(clang libclang-rt-dev)
# cpack's Debian generator reads the programs' libraries with dpkg-shlibdeps
# and file.
packaging=(dpkg-dev file)
# The Windows build: the MinGW-w64 cross compiler, Ninja, dpkg-source for
# Qt's source package, NSIS for the installer; and its check under Wine on
# a virtual display, with clang-format and clang-tidy over the files only
# Windows compiles.
windows=(g++-mingw-w64-x86-64-posix ninja-build dpkg-dev xz-utils nsis)
windows_check=(wine wine64 xvfb xauth xdotool xclip iproute2 clang-format clang-tidy)

list=
[ "${1:-}" = --list ] && list=1 && shift
command=${1:-run}
case $command in
run | build | bench | soak | screenshot) packages=("${product[@]}") ;;
package) packages=("${product[@]}" "${packaging[@]}") ;;
lint) packages=("${product[@]}" "${lint[@]}") ;;
sanitize | fuzz) packages=("${product[@]}" "${sanitizers[@]}") ;;
# The catalogue's Windows faults build for Windows and run its check.
faults) packages=("${product[@]}" "${suite[@]}" "${windows[@]}" "${windows_check[@]}") ;;
test) packages=("${product[@]}" "${suite[@]}" "${lint[@]}" "${sanitizers[@]}") ;;
windows) packages=("${product[@]}" "${windows[@]}") ;;
windows-check) packages=("${product[@]}" "${windows[@]}" "${windows_check[@]}") ;;
*)
    echo "usage: $0 [--list] [run|build|bench|soak|screenshot|test|faults|lint|sanitize|fuzz|package|windows|windows-check]" >&2
    exit 2
    ;;
esac
mapfile -t packages < <(printf '%s\n' "${packages[@]}" | sort -u)

if [ -n "$list" ]; then
    printf '%s\n' "${packages[@]}"
    exit 0
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "Debian packages for make $command: all ${#packages[@]} installed"
    exit 0
fi

echo "Installing ${#missing[@]} missing Debian packages for make $command: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    sudo=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
    sudo=(sudo -n)
else
    echo "error: make $command needs these Debian packages, which are missing: ${missing[*]}" >&2
    echo "Install them as root, then run make again:" >&2
    echo "    apt-get install --no-install-recommends ${missing[*]}" >&2
    exit 1
fi

# apt's hundreds of progress lines go to a log, which is kept and named only
# when something fails.
log=$(mktemp "${TMPDIR:-/tmp}/install-deps.XXXXXX.log")
export DEBIAN_FRONTEND=noninteractive
if ! { "${sudo[@]}" apt-get update && "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; } \
    >"$log" 2>&1; then
    tail -n 5 "$log" >&2
    echo "error: installing the packages for make $command failed; apt's whole output is in $log" >&2
    exit 1
fi
rm -f "$log"
echo "Installed them"
