#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Checks our sources: their formatting against .clang-format, then clang-tidy
# (.clang-tidy) over the sources of the two programs, the tools, the benches
# and the icon renderer, tests and fuzz targets excluded, with the build's
# compile commands. Runs both, then fails on any difference or finding.
#
# The files that only the Windows build compiles (those its compile commands
# hold and the Linux build's do not) are checked with the Windows build's
# commands, clang taking the MinGW-w64 target from the cross compiler's
# name and its C++ headers from the cross compiler: by the first form below
# when the Windows build is there, and alone, format and clang-tidy, by the
# second, which make windows-check runs.
#
# usage: scripts/lint.sh [BUILD_DIR]                  (default: build)
#        scripts/lint.sh --windows [WINDOWS_BUILD_DIR] (default: build-windows/build;
#                                                        BUILD_DIR the Linux build)
# LINT_JOBS sets how many clang-tidy processes run at once (default 2).
set -euo pipefail
. "$(dirname "$0")/usage.sh"
offer_help "$@"
need_tools lint "${CLANG_FORMAT:-clang-format}" "${CLANG_TIDY:-clang-tidy}"
cd "$(dirname "$0")/.."
windows_only=
if [ "${1:-}" = --windows ]; then
    windows_only=1
    build=${BUILD_DIR:-build}
    cross=${2:-build-windows/build}
else
    build=${1:-build}
    cross=build-windows/build
fi
jobs=${LINT_JOBS:-2}
clang_format=${CLANG_FORMAT:-clang-format}
clang_tidy=${CLANG_TIDY:-clang-tidy}

format_dirs=(app artwork window link commands actions common simulator tests fuzz tools bench packaging)
tidy_dirs=(app artwork window link commands actions common simulator simulator/view tools bench packaging)

status=0
existing() { for d in "$@"; do [ -d "$d" ] && echo "$d"; done; return 0; }

database="$build/compile_commands.json"
[ -f "$database" ] || { echo "lint: $database is missing; configure the build first (make build)" >&2; exit 1; }
tidy_pattern="^$(pwd)/($(existing "${tidy_dirs[@]}" | paste -sd'|'))/[^/]+\.cpp$"
sources() { grep -o '"file": "[^"]*"' "$1" | cut -d'"' -f4 | grep -E "$tidy_pattern" | sort -u; }
mapfile -t tidy_files < <(sources "$database")
windows_files=()
if [ -f "$cross/compile_commands.json" ]; then
    mapfile -t windows_files < <(sources "$cross/compile_commands.json" | comm -23 - <(printf '%s\n' "${tidy_files[@]}"))
elif [ -n "$windows_only" ]; then
    echo "lint: $cross/compile_commands.json is missing; make windows makes it" >&2
    exit 1
fi
if [ -n "$windows_only" ] && [ ${#windows_files[@]} -eq 0 ]; then
    echo "lint: $cross compiles no file that $build does not" >&2
    exit 1
fi

if [ -n "$windows_only" ]; then
    format_files=("${windows_files[@]}")
else
    mapfile -t format_files < <(find $(existing "${format_dirs[@]}") -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
fi
echo "clang-format: checking ${#format_files[@]} files"
if ! "$clang_format" --dry-run --Werror "${format_files[@]}"; then
    echo "lint: formatting differs from .clang-format (clang-format -i FILE... fixes it)" >&2
    status=1
fi

if [ -z "$windows_only" ]; then
    echo "clang-tidy: checking ${#tidy_files[@]} files"
    if ! printf '%s\0' "${tidy_files[@]}" | xargs -0 -n 1 -P "$jobs" "$clang_tidy" -p "$build" --quiet; then
        echo "lint: clang-tidy has findings" >&2
        status=1
    fi
fi
if [ ${#windows_files[@]} -gt 0 ]; then
    # clang finds the MinGW-w64 C headers itself, but not GCC's C++ headers
    # in a folder named for the thread model ("12-posix"): the cross
    # compiler names them.
    compiler=$(grep -m 1 -o '"command": "[^ "]*' "$cross/compile_commands.json" | cut -d'"' -f4)
    headers=()
    while read -r folder; do
        headers+=("--extra-arg=-isystem$folder")
    done < <("$compiler" -x c++ -E -v - </dev/null 2>&1 | sed -n '/<\.\.\.> search starts/,/^End of/s/^ \(.*\/c++.*\)/\1/p')
    echo "clang-tidy: checking ${#windows_files[@]} files only Windows compiles: ${windows_files[*]#"$(pwd)/"}"
    if ! printf '%s\0' "${windows_files[@]}" |
        xargs -0 -n 1 -P "$jobs" "$clang_tidy" -p "$cross" --quiet "${headers[@]}"; then
        echo "lint: clang-tidy has findings in the files only Windows compiles" >&2
        status=1
    fi
fi
[ "$status" -eq 0 ] && echo "lint: clean"
exit "$status"
