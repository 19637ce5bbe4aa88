#!/usr/bin/env bash
# Checks the desktop integration files as they are built, without installing
# anything: the menu entry and the metainfo validate, and the rendered icons
# have their sizes.
#
# usage: check-desktop-files.sh PACKAGING_SOURCE_DIR RENDERED_ICONS_DIR
set -euo pipefail
src=$1
icons=$2
app_id=io.github.modelrailway.panel
fail() { echo "FAIL: $*" >&2; exit 1; }

desktop-file-validate "$src/$app_id.desktop" || fail "the menu entry is not valid"
appstreamcli validate --no-net "$src/$app_id.metainfo.xml" || fail "the metainfo is not valid"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$src/$app_id.metainfo.xml" \
    || fail "the metainfo does not launch the menu entry"
for size in 16 32; do
    png="$icons/${size}x${size}/$app_id.png"
    file -b "$png" | grep -q "PNG image data, $size x $size, 8-bit/color RGBA" \
        || fail "$png is not a $size x $size PNG with transparency: $(file -b "$png")"
done
echo "PASS: menu entry, metainfo and icons"
