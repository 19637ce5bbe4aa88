#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs every fuzz target in a folder for a set time on its seed corpus and
# prints how many inputs each one tried. Fails on the first finding.
set -euo pipefail
dir=$1
seconds=$2
src=$(cd "$(dirname "$0")/.." && pwd)/fuzz/corpus

for target in "$dir"/*; do
    [ -f "$target" ] && [ -x "$target" ] || continue
    name=$(basename "$target")
    [ -d "$src/$name" ] || continue
    scratch="$dir/scratch/$name"
    mkdir -p "$scratch"
    echo "== $name: ${seconds}s"
    "$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$scratch/" \
        "$scratch" "$src/$name" 2>"$dir/$name.log" || { tail -40 "$dir/$name.log"; exit 1; }
    grep -E 'stat::number_of_executed_units|stat::peak_rss_mb' "$dir/$name.log" | sed "s/^/   $name /"
done
