#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The project's scripts as a person meets them who runs one by hand: each
# row runs a script wrongly (no arguments, a wrong one, a missing tool) and
# wants one line on stderr, nothing on stdout and exit status 2; --help
# wants the script's header and exit status 0.
#
# usage: check-usage.sh
set -uo pipefail
cd "$(dirname "$0")/../.."
failures=0

# script | what it is given | environment
rows=(
    "scripts/check-windows-imports.sh||"
    "scripts/check-windows-imports.sh|/nonexistent|"
    "scripts/run-fuzzers.sh||"
    "scripts/run-panel.sh||"
    "scripts/build-qt-windows.sh|--bogus|"
    "scripts/build-windows.sh|bogus|"
    "scripts/fault-map.sh|--bogus|"
    "scripts/install-deps.sh|bogus|"
    "scripts/lint.sh||CLANG_FORMAT=no-such-clang-format"
    "tests/windows/configure-check.sh||"
    "tests/windows/check-uia.sh||"
    "tests/windows/check-windows.sh|bogus|"
    "scripts/try-debian.sh|trixie|"
    "scripts/try-debian.sh|trixie bogus|"
)
for row in "${rows[@]}"; do
    IFS='|' read -r script given environment <<<"$row"
    out=$(env $environment bash "$script" $given 2>/tmp/check-usage.$$ </dev/null)
    status=$?
    said=$(cat /tmp/check-usage.$$)
    if [ $status -ne 2 ] || [ -n "$out" ] || [ "$(printf '%s\n' "$said" | wc -l)" -ne 1 ] || [ -z "$said" ]; then
        echo "FAIL: $script $given ($environment): status $status, stdout \"$out\", stderr \"$said\""
        failures=$((failures + 1))
    fi
done
rm -f /tmp/check-usage.$$

for script in scripts/*.sh tests/windows/*.sh; do
    [ "$script" = scripts/usage.sh ] && continue
    help=$(bash "$script" --help </dev/null 2>&1)
    status=$?
    if [ $status -ne 0 ] || [ "$(wc -l <<<"$help")" -lt 3 ] || grep -q '^SPDX-' <<<"$help"; then
        echo "FAIL: $script --help: status $status, not its header: $(head -n 3 <<<"$help")"
        failures=$((failures + 1))
    fi
done

[ $failures -eq 0 ] && echo "PASS: every script says in one line what to do, and --help shows its header"
[ $failures -eq 0 ]
