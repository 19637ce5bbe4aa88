#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The Windows build's toolchain file and deploy list, checked on Linux
# without building: the tree configures for Windows against Qt for Windows
# in the cache, QT-SOURCE.txt names the source that Qt recorded (or says
# none was), every file packaging/windows/deploy.txt names exists, and a
# list naming a file that does not exist fails the configure. Exits 77
# (skipped) until make windows has put Qt for Windows in the cache.
#
# usage: configure-check.sh RENDER-ICON
set -uo pipefail
. "$(dirname "$0")/../../scripts/usage.sh"
offer_help "$@"
need_arguments 1 "$@"
[ -x "$1" ] || refuse "$1 is not the built render-icon: cmake --build build --target render-icon builds it"

root=$(cd "$(dirname "$0")/../.." && pwd)
renderer=$1
prefix=$("$root/scripts/build-qt-windows.sh" --prefix)
if [ ! -f "$prefix/.complete" ] || ! command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
    echo "SKIP: no Qt for Windows in $prefix (make windows builds it)"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

configure() {
    cmake -S "$root" -B "$work/build" \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" \
        -DPANEL_PICTURE_RENDERER="$renderer" "$@" >"$work/configure.out" 2>&1
}

if ! configure; then
    cat "$work/configure.out"
    echo "FAIL: the tree does not configure for Windows"
    exit 1
fi
record=$prefix/qt6-base-debian-version
if [ -f "$record" ]; then
    named="from Debian's source package qt6-base $(cat "$record"),"
else
    named="which source they were built from was not recorded"
fi
tr '\n' ' ' <"$work/build/packaging/windows/QT-SOURCE.txt" | grep -qF "$named" || {
    cat "$work/build/packaging/windows/QT-SOURCE.txt"
    echo "FAIL: QT-SOURCE.txt does not say \"$named\""
    exit 1
}
grep -v '^#' "$root/packaging/windows/deploy.txt" >"$work/deploy.txt"
echo "qt  bin/Qt6Bogus.dll  ." >>"$work/deploy.txt"
if configure -DPANEL_DEPLOY_LIST="$work/deploy.txt"; then
    echo "FAIL: a deploy list naming bin/Qt6Bogus.dll, which Qt does not have, configured"
    exit 1
fi
grep -q "deploy.txt names bin/Qt6Bogus.dll" "$work/configure.out" || {
    cat "$work/configure.out"
    echo "FAIL: the configure failed, but not for the missing bin/Qt6Bogus.dll"
    exit 1
}
echo "PASS: the tree configures for Windows, QT-SOURCE.txt names its Qt's source as recorded, every file of the deploy list exists, and a missing one fails"
