#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Gives files the project's copyright and licence header (SPDX tags, in each
# file's own comment style, after a shebang), leaving alone any file that
# already has one. Files that cannot carry a header (pictures, JSON, fuzz
# seeds, the menu entry, the metainfo, the changelog, the copyright file, the
# manual pages and their sources, the fault catalogue and its results) are
# covered by .reuse/dep5 instead and skipped. A file of a kind reuse does not
# know stops the run before anything is written: give it a comment style
# below, or a line in .reuse/dep5.
#
# usage: scripts/add-license-headers.sh [FILE...]   (default: every tracked file)
set -euo pipefail
. "$(dirname "$0")/usage.sh"
offer_help "$@"
need_tools test git reuse

# All in one function, called and left on one line: bash reads a script as it
# runs it, and this script is among the files it gives a header to.
main() {
    local top
    top=$(git rev-parse --show-toplevel)

    holder="The Model Railway Panel authors"
    licence=GPL-3.0-or-later
    year=${HEADER_YEAR:-$(date -u +%Y)}

    candidates=()
    for f in "$@"; do
        candidates+=("$(realpath -m --relative-to="$top" "$f")")
    done
    cd "$top"
    [ $# -gt 0 ] || mapfile -t candidates < <(git ls-files)

    # The "Files:" patterns of .reuse/dep5, continuation lines included.
    mapfile -t covered < <(awk '
        /^Files:/ { inside = 1; sub(/^Files:/, "") }
        /^[^ \t]/ && !/^Files:/ { inside = 0 }
        inside { for (i = 1; i <= NF; i++) print $i }' .reuse/dep5)

    auto=() hash_style=() html_style=()
    for f in "${candidates[@]}"; do
        case $f in LICENSES/* | .reuse/*) continue ;; esac
        skip=0
        for pattern in "${covered[@]}"; do
            # shellcheck disable=SC2053 # a dep5 pattern: * matches across folders, as in dep5
            [[ $f == $pattern ]] && { skip=1; break; }
        done
        [ "$skip" -eq 1 ] && continue
        # Formats reuse does not know by their names, each with the comment it takes.
        case $f in
            *.qrc) html_style+=("$f") ;;
            .clang-format | .clang-tidy | *.supp | *.txt | .ci/*) hash_style+=("$f") ;;
            *) auto+=("$f") ;;
        esac
    done

    annotate() {
        reuse annotate --copyright "$holder" --license "$licence" --year "$year" \
            --skip-existing "$@" >/dev/null
    }
    [ ${#auto[@]} -eq 0 ] || annotate "${auto[@]}"
    [ ${#hash_style[@]} -eq 0 ] || annotate --style python "${hash_style[@]}"
    [ ${#html_style[@]} -eq 0 ] || annotate --style html "${html_style[@]}"
}

main "$@"; exit
