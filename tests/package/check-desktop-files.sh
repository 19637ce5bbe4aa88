#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Checks the desktop integration files as they are built, without installing
# anything: the menu entry and the metainfo validate (the metainfo even with
# pedantic hints), the metainfo names its developer and no web address (the
# project has no public home, so a software centre would show a dead link),
# and the icon renderer makes the theme's icons at their sizes.
#
# usage: check-desktop-files.sh SOURCE_DIR RENDER_ICON
set -euo pipefail
. "$(dirname "$0")/../../scripts/usage.sh"
offer_help "$@"
need_arguments 2 "$@"
root=$1
src=$root/packaging
renderer=$2
icons=$(mktemp -d)
trap 'rm -rf "$icons"' EXIT
. "$(dirname "$0")/package-file.sh"
fail() { echo "FAIL: $*" >&2; exit 1; }

desktop-file-validate "$src/$app_id.desktop" || fail "the menu entry is not valid"
# Even pedantic hints fail it, but for the two package-file.sh accepts.
verdict=$(appstreamcli validate --pedantic --no-net "$src/$app_id.metainfo.xml" 2>&1) && status=0 || status=$?
refused=$(appstream_verdict_accepted "$status" "$verdict") || fail "appstreamcli does not pass the metainfo: $refused"
grep -q "<developer id=\"[^\"]*\">" "$src/$app_id.metainfo.xml" || fail "the metainfo names no developer"
# The menu entry's action starts the simulator with its window.
[ "$(sed -n '/^\[Desktop Action simulator\]$/,/^\[/s/^Exec=//p' "$src/$app_id.desktop")" = \
    "command-station-simulator --view" ] || fail "the menu entry has no action that starts the simulator's window"
! grep -nE "https?://" "$src/$app_id.metainfo.xml" || fail "the metainfo names a web address"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$src/$app_id.metainfo.xml" \
    || fail "the metainfo does not launch the menu entry"
for size in 16 32; do
    png="$icons/$size.png"
    "$renderer" "$root/artwork/icon.svg" "$size" "$png" || fail "render-icon cannot render the ${size}-pixel icon"
    file -b "$png" | grep -q "PNG image data, $size x $size, 8-bit/color RGBA" \
        || fail "$png is not a $size x $size PNG with transparency: $(file -b "$png")"
done
echo "PASS: menu entry, metainfo and icons"
