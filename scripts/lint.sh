#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Checks our sources: their formatting against .clang-format, then clang-tidy
# (.clang-tidy) over the sources of the two programs, the tools, the benches
# and the icon renderer, tests and fuzz targets excluded, with the build's
# compile commands. Runs both, then fails on any difference or finding.
#
# usage: scripts/lint.sh [BUILD_DIR]      (default: build)
# LINT_JOBS sets how many clang-tidy processes run at once (default 2).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
jobs=${LINT_JOBS:-2}
clang_format=${CLANG_FORMAT:-clang-format}
clang_tidy=${CLANG_TIDY:-clang-tidy}

format_dirs=(app artwork window link commands actions common simulator tests fuzz tools bench packaging)
tidy_dirs=(app artwork window link commands actions common simulator simulator/view tools bench packaging)

status=0
existing() { for d in "$@"; do [ -d "$d" ] && echo "$d"; done; return 0; }

mapfile -t format_files < <(find $(existing "${format_dirs[@]}") -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
echo "clang-format: checking ${#format_files[@]} files"
if ! "$clang_format" --dry-run --Werror "${format_files[@]}"; then
    echo "lint: formatting differs from .clang-format (clang-format -i FILE... fixes it)" >&2
    status=1
fi

database="$build/compile_commands.json"
[ -f "$database" ] || { echo "lint: $database is missing; configure the build first (make build)" >&2; exit 1; }
tidy_pattern="^$(pwd)/($(existing "${tidy_dirs[@]}" | paste -sd'|'))/[^/]+\.cpp$"
mapfile -t tidy_files < <(grep -o '"file": "[^"]*"' "$database" | cut -d'"' -f4 | grep -E "$tidy_pattern" | sort -u)
echo "clang-tidy: checking ${#tidy_files[@]} files"
if ! printf '%s\0' "${tidy_files[@]}" | xargs -0 -n 1 -P "$jobs" "$clang_tidy" -p "$build" --quiet; then
    echo "lint: clang-tidy has findings" >&2
    status=1
fi
[ "$status" -eq 0 ] && echo "lint: clean"
exit "$status"
