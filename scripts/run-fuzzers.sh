#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs every fuzz target in a folder for a set time on its seed corpus and
# prints how many inputs each one tried. Fails on the first finding.
#
# usage: scripts/run-fuzzers.sh FUZZ_DIR SECONDS   (make fuzz gives both)
set -euo pipefail
. "$(dirname "$0")/usage.sh"
offer_help "$@"
need_arguments 2 "$@"
[ -d "$1" ] || refuse "$1 is no folder of fuzz targets: make fuzz builds them into build-sanitize/fuzz"
[[ $2 =~ ^[0-9]+$ ]] || refuse "$2 is not a number of seconds"
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
