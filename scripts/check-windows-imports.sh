#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Checks an installed Windows folder: every .exe and .dll in it, plugins
# included, finds each Qt or MinGW DLL it imports in the folder itself (the
# others are Windows' own). A DLL missing from packaging/windows/deploy.txt
# fails it, naming who needs it.
#
# usage: scripts/check-windows-imports.sh FOLDER
set -euo pipefail
. "$(dirname "$0")/usage.sh"
offer_help "$@"
need_arguments 1 "$@"
need_tools windows x86_64-w64-mingw32-objdump
[ -d "$1" ] || refuse "$1 is no folder: give the Windows folder that make windows lays out in build-windows/"

folder=$1
objdump=x86_64-w64-mingw32-objdump
status=0
checked=0
while IFS= read -r -d '' binary; do
    checked=$((checked + 1))
    while read -r dll; do
        case ${dll,,} in
        qt6*.dll | lib*.dll)
            if [ ! -f "$folder/$dll" ]; then
                echo "FAIL: ${binary#"$folder"/} imports $dll, which is not in the folder (packaging/windows/deploy.txt)" >&2
                status=1
            fi
            ;;
        esac
    done < <("$objdump" -p "$binary" | sed -n 's/^\s*DLL Name: //p')
done < <(find "$folder" -type f \( -iname '*.exe' -o -iname '*.dll' \) ! -iname 'uninstall.exe' -print0)
[ "$checked" -gt 0 ] || { echo "FAIL: no program or DLL in $folder" >&2; exit 1; }
[ $status -eq 0 ] && echo "Every Qt and MinGW DLL that the $checked programs and DLLs import is in $folder."
exit $status
