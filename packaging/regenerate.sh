#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Writes the two packaging files that tools make from the tree, so that
# building and installing need none of those tools: packaging/copyright from
# the REUSE data (reuse and Python) and packaging/command-station-simulator.1
# from the simulator's --help and --version (help2man). Run it after a change
# to a file's licence or to the simulator's options, and commit the result.
# With --check it writes them aside instead and fails when the committed
# copy differs, showing how.
#
# usage: packaging/regenerate.sh [--check] copyright
#        packaging/regenerate.sh [--check] manpage SIMULATOR_EXECUTABLE
set -euo pipefail
. "$(dirname "$0")/../scripts/usage.sh"
offer_help "$@"
packaging=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$packaging")
check=
[ "${1:-}" = --check ] && check=1 && shift
what=${1:-}
fail() { echo "FAIL: $*" >&2; exit 1; }
need() { command -v "$1" >/dev/null || fail "$1 is missing: run scripts/install-deps.sh test"; }

work=$(mktemp -d "${TMPDIR:-/tmp}/panel-regenerate.XXXXXX")
trap 'rm -rf "$work"' EXIT

case $what in
copyright)
    need reuse
    need python3
    committed=$packaging/copyright
    python3 "$packaging/debian-copyright.py" "$root" "$work/out"
    ;;
manpage)
    simulator=${2:?usage: regenerate.sh [--check] manpage SIMULATOR_EXECUTABLE}
    need help2man
    committed=$packaging/command-station-simulator.1
    # --help names the manual from where the program is: run from a copy
    # placed as the package places it, the page names the package's path.
    mkdir -p "$work/stage/usr/bin"
    cp "$simulator" "$work/stage/usr/bin/command-station-simulator"
    # The page carries the date of the changelog's newest entry, the release's.
    released=$(sed -n 's/^ -- .*>  //p' "$packaging/changelog" | head -n 1)
    # In a UTF-8 locale: help2man's default, C, makes newer Qt warn on stderr,
    # which would land in the page.
    SOURCE_DATE_EPOCH=$(date -u -d "$released" +%s) help2man --no-info --no-discard-stderr \
        --locale=C.UTF-8 --include="$packaging/command-station-simulator.h2m" --output="$work/page" \
        "$work/stage/usr/bin/command-station-simulator"
    # help2man writes a hyphen as \-. Qt words --help-all's line differently
    # from one version to the next: the page keeps newer Qt's words, so it
    # is the same whichever Qt the program was built with.
    STAGE=${work//-/\\-}/stage perl -pe 's/\Q$ENV{STAGE}\E//g;
        s/^Displays help including Qt specific options\.$/Displays help, including generic Qt options./' \
        "$work/page" >"$work/out"
    ;;
*)
    echo "usage: $0 [--check] copyright | manpage SIMULATOR_EXECUTABLE" >&2
    exit 2
    ;;
esac

if [ -z "$check" ]; then
    cp "$work/out" "$committed"
    echo "wrote ${committed#"$root"/}"
elif ! diff -u "$committed" "$work/out"; then
    fail "${committed#"$root"/} is stale: run packaging/regenerate.sh $what${2:+ SIMULATOR_EXECUTABLE} and commit it"
else
    echo "PASS: ${committed#"$root"/} is current"
fi
