#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs scripts/fault-check.sh on a small tree of its own: a project without a
# compiler whose tests read the files the faults change, and a catalogue of
# one fault its guard catches, one nothing catches, one whose pattern matches
# nothing and one its guard sees only by running into the time limit; then
# --halves with one fault and with three. Checks the lines the runs leave in
# the results file, and which half ran which fault.
set -euo pipefail

check=$(cd "$(dirname "$0")/../../scripts" && pwd)/fault-check.sh
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
cd "$tree"
mkdir scripts
printf 'good\n' >value
printf 'quick\n' >speed
printf 'a\n' >spare
# check.sh FILE WORD [hang]: passes when FILE holds WORD; else fails, or
# hangs when asked to.
printf '%s\n' 'grep -qx "$2" "$(dirname "$0")/$1" && exit 0' '[ "${3-}" = hang ] && exec sleep 60' 'exit 1' >check.sh
cat >CMakeLists.txt <<'CMAKE'
cmake_minimum_required(VERSION 3.16)
project(fake NONE)
enable_testing()
add_custom_target(nothing)
add_test(NAME guard COMMAND sh ${CMAKE_SOURCE_DIR}/check.sh value good)
add_test(NAME slowguard COMMAND sh ${CMAKE_SOURCE_DIR}/check.sh speed quick hang)
CMAKE
printf '%s\t%s\t%s\t%s\t%s\n' \
    caught value 's/good/bad/' 'the guard sees it' guard \
    missed spare 's/a/b/' 'no test looks' '' \
    gone value 's/absent/x/' 'the pattern matches nothing' guard \
    hangs speed 's/quick/slow/' 'the guard waits for ever' slowguard | sed 's/\t$//' >scripts/faults.txt
printf '#!/bin/sh\n' >scripts/fault-map.sh
chmod +x scripts/fault-map.sh
git init -q . && git add . && git -c user.name=test -c user.email=test@localhost commit -qm tree
rev=$(git rev-parse --short HEAD)

failed=0
# expect RUN LINES: the results file holds exactly LINES (id, result, test,
# in name order: halves finish in any order), each with a whole number of
# seconds and the tree's revision.
expect() {
    local got
    touch scripts/fault-results.txt
    got=$(awk -F '\t' -v rev="$rev" '$4 ~ /^[0-9]+$/ && $5 == rev { print $1, $2, $3 }' scripts/fault-results.txt | sort)
    [ "$got" = "$2" ] || { printf 'FAIL %s:\n%s\nexpected:\n%s\n' "$1" "$got" "$2"; failed=1; }
    rm scripts/fault-results.txt
}

status=0
"$check" --dir "$tree/run" --timeout 3 caught missed gone hangs >/dev/null 2>&1 || status=$?
[ $status -eq 1 ] || { echo "FAIL: the run ended with $status, not 1"; failed=1; }
expect "one run of four" "caught caught guard
gone pattern gone -
hangs caught-by-timeout slowguard
missed missed -"

"$check" --halves --dir "$tree/one" caught >/dev/null 2>&1 || true
expect "--halves with one fault" "caught caught guard"
[ ! -e "$tree/one/2" ] || { echo "FAIL: --halves with one fault ran a second half"; failed=1; }

"$check" --halves --dir "$tree/three" missed caught gone >/dev/null 2>&1 || true
expect "--halves with three faults" "caught caught guard
gone pattern gone -
missed missed -"
dealt=$(cat "$tree/three/1/fault-check.log" "$tree/three/2/fault-check.log" | sed -n 's/^=== \([a-z]*\):.*/\1/p' | tr '\n' ' ')
[ "$dealt" = "missed gone caught " ] || { echo "FAIL: the halves ran $dealt"; failed=1; }
exit $failed
