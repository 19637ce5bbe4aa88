#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Checks the Debian package as a distribution would, without installing it:
# lintian finds no error and no warning (its info and pedantic tags are
# printed for the reader), and the package holds what lintian cannot judge:
# the fonts among its dependencies, a changelog, metainfo and manual pages
# that agree with each other and with the programs, and the licence.
#
# usage: lint-package.sh BUILD_DIR PANEL_EXECUTABLE SIMULATOR_EXECUTABLE
set -euo pipefail
. "$(dirname "$0")/../../scripts/usage.sh"
offer_help "$@"
need_arguments 3 "$@"

build_dir=$1
built_panel=$2
built_simulator=$3
. "$(dirname "$0")/package-file.sh"

fail() { echo "FAIL: $*" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/panel-package-lint.XXXXXX")
trap 'rm -rf "$work"' EXIT

deb=$(current_package "$build_dir" "$built_panel" "$built_simulator" "$work") || fail "cpack could not build the package"
echo "-- $deb"

# Every tag is shown but those lintian-overrides lets pass, each for the
# reason it gives (this lintian refuses to hear of a tag it does not know);
# only errors and warnings fail. What lintian cannot judge of them is
# checked below.
grep -vE '^(#|$)' "$(dirname "$0")/lintian-overrides" | grep -xFf <(lintian-explain-tags --list-tags) \
    >"$work/suppressed" || true
lintian --fail-on error,warning --display-info --pedantic --tag-display-limit 0 \
    --suppress-tags-from-file "$work/suppressed" "$deb" \
    || fail "lintian reports errors or warnings"

version=$(dpkg-deb -f "$deb" Version)
[ "$version" = "1.0.0" ] || fail "the package is version $version, not 1.0.0"
depends=$(dpkg-deb -f "$deb" Depends)
for font in fonts-liberation fonts-dejavu-core; do
    grep -qE "(^|, )$font(,|$| )" <<<"$depends" || fail "Depends lacks $font: $depends"
done
grep -q "libqt6widgets6" <<<"$depends" || fail "Depends lacks what dpkg-shlibdeps finds: $depends"

root=$work/root
dpkg-deb -x "$deb" "$root"
doc=$root/usr/share/doc/$package

# The metainfo as lintian validates it, held to the one finding accepted.
verdict=$(appstreamcli validate-tree --pedantic --no-net "$root" 2>&1) && status=0 || status=$?
refused=$(appstream_verdict_accepted "$status" "$verdict") || fail "appstreamcli does not pass the package's metainfo: $refused"

# The newest changelog entry is this version, and the metainfo's newest release
# is the same one, on the same day.
changelog=$(gzip -dc "$doc/changelog.gz")
head -n 1 <<<"$changelog" | grep -q "^$package ($version) " \
    || fail "the changelog's newest entry is not $version: $(head -n 1 <<<"$changelog")"
released=$(date -u -d "$(sed -n 's/^ -- .*>  //p' <<<"$changelog" | head -n 1)" +%Y-%m-%d)
metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
grep -q "<release version=\"$version\" date=\"$released\"" "$metainfo" \
    || fail "the metainfo's releases lack version $version of $released"
grep -q "<project_license>GPL-3.0-or-later</project_license>" "$metainfo" || fail "the metainfo names no project licence"

# The copyright file: machine-readable, the whole project under the GPL,
# and every licence it names given a paragraph.
copyright=$doc/copyright
head -n 1 "$copyright" | grep -qx "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" \
    || fail "the copyright file is not in the machine-readable format"
awk '/^Files: \*$/ { getline; getline; print; exit }' "$copyright" | grep -qx "License: GPL-3.0-or-later" \
    || fail "the copyright file does not put every file under GPL-3.0-or-later"
grep -q "^Copyright: .*The Model Railway Panel authors$" "$copyright" || fail "the copyright file names another holder"
# Paragraphs that give a licence's text: "License: NAME" and lines below it.
explained=$(awk 'BEGIN { RS = "" } /^License: [^\n]*\n / { split($0, line, "\n"); print line[1] }' "$copyright")
while read -r licence; do
    grep -qxF "$licence" <<<"$explained" || fail "no paragraph gives the text of $licence"
done < <(awk 'BEGIN { RS = "" } /^Files:/' "$copyright" | grep "^License: " | sort -u)

# Manual pages: the simulator's lists every option its --help names; the
# panel's tells the port, the failure message and that it takes no options.
man_dir=$root/usr/share/man/man1
simulator_page=$(MANWIDTH=200 man -l "$man_dir/command-station-simulator.1.gz" 2>/dev/null)
while read -r option; do
    grep -qF -- "$option" <<<"$simulator_page" || fail "the simulator's manual page lacks $option"
done < <("$built_simulator" --help | grep -oE -- '--[a-z-]+' | sort -u)
panel_page=$(MANWIDTH=200 man -l "$man_dir/model-railway-panel.1.gz" 2>/dev/null)
for text in 15471 "CS no encontrada" "CS conectada" "no options"; do
    grep -qF "$text" <<<"$panel_page" || fail "the panel's manual page does not mention \"$text\""
done
echo "PASS: lintian finds no error or warning; fonts, changelog, metainfo, copyright and manual pages agree"
