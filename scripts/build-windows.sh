#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The Windows build, made on Debian: Qt for Windows from the cache (built
# into it the first time, scripts/build-qt-windows.sh), the panel and the
# simulator cross-built with MinGW-w64, then under build-windows/:
#   model-railway-panel-VERSION-win64/      the installed, portable folder
#   model-railway-panel-VERSION-win64.zip   that folder zipped
#   model-railway-panel-VERSION-setup.exe   the installer (NSIS)
# The pictures are rendered by the host's render-icon, built in the Linux
# tree (BUILD_DIR, build by default).
#
# usage: scripts/build-windows.sh   (BUILD_DIR, JOBS, QT_WINDOWS_PREFIX)
set -euo pipefail
. "$(dirname "$0")/usage.sh"
offer_help "$@"
[ $# -eq 0 ] || refuse "takes no arguments, only BUILD_DIR, JOBS and QT_WINDOWS_PREFIX from the environment"
need_tools windows cmake x86_64-w64-mingw32-g++-posix makensis

cd "$(dirname "$0")/.."
linux_build=${BUILD_DIR:-build}
out=build-windows
cross=$out/build
jobs=${JOBS:-2}
start=$(date +%s)

# QT_WINDOWS_PREFIX names a Qt for Windows of one's own (an install or a
# build tree) instead of the cache's.
if [ -n "${QT_WINDOWS_PREFIX:-}" ]; then
    qt=$QT_WINDOWS_PREFIX
else
    scripts/build-qt-windows.sh
    qt=$(scripts/build-qt-windows.sh --prefix)
fi

# The host's picture renderer, from the Linux tree.
[ -f "$linux_build/CMakeCache.txt" ] || cmake -S . -B "$linux_build"
cmake --build "$linux_build" -j"$jobs" --target render-icon
renderer=$(cd "$linux_build/packaging" && pwd)/render-icon

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
generator=()
command -v ninja >/dev/null && [ ! -f "$cross/CMakeCache.txt" ] && generator=(-G Ninja)
cmake -S . -B "$cross" "${generator[@]}" "${launcher[@]}" \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$qt" -DCMAKE_FIND_ROOT_PATH="$qt" \
    -DPANEL_PICTURE_RENDERER="$renderer" \
    -DCMAKE_CROSSCOMPILING_EMULATOR=wine
nice -n 10 cmake --build "$cross" -j"$jobs" --target model-railway-panel command-station-simulator installer-pictures

version=$(cat "$cross/panel-version.txt")
name=model-railway-panel-$version-win64
folder=$out/$name
rm -rf "$folder"
cmake --install "$cross" --prefix "$folder" --strip
scripts/check-windows-imports.sh "$folder"

rm -f "$out/$name.zip"
(cd "$out" && cmake -E tar cf "$name.zip" --format=zip "$name")
# The uninstaller removes exactly what the installer put there, file by
# file: the folder may be one the user chose, with files of their own in it.
uninstall_list=$PWD/$cross/uninstall-files.nsh
{
    (cd "$folder" && find . -type f | sort) | while read -r file; do
        file=${file#./}
        echo "Delete \"\$INSTDIR\\${file//\//\\}\""
    done
    (cd "$folder" && find . -mindepth 1 -type d | sort -r) | while read -r dir; do
        dir=${dir#./}
        echo "RMDir \"\$INSTDIR\\${dir//\//\\}\""
    done
} >"$uninstall_list"
makensis -V2 -DVERSION="$version" -DSOURCE="$PWD/$folder" -DUNINSTALL_LIST="$uninstall_list" \
    -DPICTURES="$PWD/$cross/packaging/windows" \
    -DOUTFILE="$PWD/$out/model-railway-panel-$version-setup.exe" packaging/windows/installer.nsi

end=$(date +%s)
echo "Windows build done in $(((end - start) / 60)) min $(((end - start) % 60)) s:"
ls -l "$out/$name.zip" "$out/model-railway-panel-$version-setup.exe"
