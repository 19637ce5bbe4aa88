#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The simulator's include roots reach its own folder and what the two
# programs share, never the panel's layers: with them, panelheader.cpp finds
# the shared headers and then, row by row, not a header of each layer.
#
# usage: check-includes.sh COMPILER INCLUDE-DIR...
set -uo pipefail
. "$(dirname "$0")/../../scripts/usage.sh"
offer_help "$@"
need_arguments 2 "$@"

compiler=$1
shift
roots=()
for dir in "$@"; do roots+=("-I$dir"); done
for header in window/main.h link/stationlink.h actions/panel.h; do
    said=$("$compiler" -std=c++20 -fPIC -E -o /dev/null "-DPANEL_HEADER=\"$header\"" "${roots[@]}" \
        "$(dirname "$0")/panelheader.cpp" 2>&1)
    if ! grep -qE "$header: No such file|'$header' file not found" <<<"$said"; then
        echo "$said"
        echo "FAIL: with the simulator's include roots, $header is found, or a shared header is not"
        exit 1
    fi
done
echo "PASS: the simulator's include roots hold the shared headers and none of the panel's layers"
