#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Puts each deliberate fault of scripts/faults.txt into a scratch copy of the
# code, rebuilds, runs the tests and records whether a test caught it.
#
#   scripts/fault-check.sh [--check] [--halves] [--rev REV] [--dir DIR] [--timeout S]
#                          [--windows-timeout S] [ID...]
#
# --check only tries every substitution on REV's files, building nothing.
# REV (default HEAD) is exported with git archive into DIR/src (default
# build-faults/src; from a revision run before, only the files that differ
# are replaced) and built in DIR/build, so the code in the working tree is
# never touched. Everything is built and the suite run on the unchanged code
# first; when either fails, nothing more runs. Faults run one after another,
# each restored before the next. With IDs given, only those faults run, in
# that order. The table goes to stdout, one line per fault as it finishes,
# and the whole run to DIR/fault-check.log. Exit status: 0 when every fault
# was caught without a time-out, 1 when one was not, 2 when the unchanged
# code fails.
# --halves (what `make faults` runs) makes two such runs side by side, in
# DIR/1 and DIR/2, the faults dealt to them alternately; a half dealt no
# fault does not run.
#
# A fault's guard, when it names one, is built alone (the programs its
# command runs, and what they link) and runs alone; everything is built and
# the whole suite runs only when the guard passes. A result is "caught" only
# when the test that failed first fails again on a second run, of the row
# that failed first where the test names one; "flaky" when it then passes
# (the fault counts as missed); "caught-by-timeout" when that test was
# stopped at its time limit instead of saying no (a test to make quicker,
# counted against the run as a miss is). Each result, with the seconds from
# planting the fault to its confirmed catch and REV, replaces the fault's
# line in scripts/fault-results.txt, and scripts/fault-map.sh draws the map
# in docs/robustness.md again: commit both with the run.
#
# A line of faults.txt holds four or five fields separated by tabs: an id,
# a file, a Perl substitution that must match exactly once in that file,
# a description and, where a test is known to catch the fault, that test
# (its guard: the quickest of those that catch it). Lines starting with "#"
# are comments.
#
# The guard "windows-check" is the Windows build instead of a test: the
# scratch tree is built for Windows (scripts/build-windows.sh, with Qt for
# Windows from its cache and DIR/build as the Linux tree) and checked under
# Wine (tests/windows/check-windows.sh), once unchanged before the first
# such fault, where a failure stops the run as the suite's does. The check
# takes minutes, and has a time limit of its own, --windows-timeout S
# (default 1800).
set -uo pipefail
. "$(dirname "$0")/usage.sh"
offer_help "$@"
need_tools faults git perl cmake flock

repo=$(git rev-parse --show-toplevel)
rev=HEAD
check=
halves=
fresh=
dir=$repo/build-faults
timeout=120
windows_timeout=1800
while [ $# -gt 0 ]; do
    case $1 in
    --rev) rev=$2; shift 2 ;;
    --dir) dir=$2; shift 2 ;;
    --timeout) timeout=$2; shift 2 ;;
    --windows-timeout) windows_timeout=$2; shift 2 ;;
    --check) check=1; shift ;;
    --halves) halves=1; shift ;;
    -h | --help) script_help; exit 0 ;;
    *) break ;;
    esac
done
wanted=("$@")
list=$repo/scripts/faults.txt
results=$repo/scripts/fault-results.txt

# Replaces the line of fault $1 in the results file with $2, and draws the
# map again; runs side by side in other scratch folders take turns. A run of
# the whole catalogue records its time as the fault "(catalogue)".
record() {
    (
        flock 9
        [ -f "$results" ] || : >"$results"
        awk -F '\t' -v id="$1" -v line="$2" '$1 == id { if (!done) print line; done = 1; next }
            { print } END { if (!done) print line }' "$results" >"$results.new" &&
            mv "$results.new" "$results" &&
            "$repo/scripts/fault-map.sh" --write
    ) 9<"$list"
}

# --halves deals the faults (all, or those named) alternately to two runs
# side by side, each in a scratch folder of its own under DIR, so that the
# one's build and the other's tests share the two cores.
if [ -n "$halves" ] && [ -z "$check" ]; then
    ids=("${wanted[@]}")
    [ ${#ids[@]} -gt 0 ] || mapfile -t ids < <(grep -v -e '^#' -e '^$' "$list" | cut -f1)
    half1=() half2=()
    for i in "${!ids[@]}"; do
        if [ $((i % 2)) -eq 0 ]; then half1+=("${ids[i]}"); else half2+=("${ids[i]}"); fi
    done
    commit=$(git -C "$repo" rev-parse "$rev") || exit 2
    "$0" --rev "$commit" --dir "$dir/1" --timeout "$timeout" --windows-timeout "$windows_timeout" "${half1[@]}" &
    one=$!
    [ ${#half2[@]} -eq 0 ] ||
        "$0" --rev "$commit" --dir "$dir/2" --timeout "$timeout" --windows-timeout "$windows_timeout" "${half2[@]}"
    other=$?
    wait $one
    mine=$?
    if [ ${#wanted[@]} -eq 0 ] && [ $mine -lt 2 ] && [ $other -lt 2 ]; then
        record "(catalogue)" "(catalogue)"$'\t'run$'\t'--halves$'\t'$SECONDS$'\t'"$(git -C "$repo" rev-parse --short "$commit")"
    fi
    exit $((mine > other ? mine : other))
fi
src=$dir/src
build=$dir/build
log=$dir/fault-check.log
commit=$(git -C "$repo" rev-parse --verify "$rev^{commit}") || exit 2
short=$(git -C "$repo" rev-parse --short "$commit")

if [ -n "$check" ]; then
    log=/dev/stderr
else
    mkdir -p "$dir"
    : >"$log"
fi
# Each fault rebuilds one file and its dependants twice; ccache makes the
# second of those, back to the unchanged file, nearly free.
if [ -z "${CMAKE_CXX_COMPILER_LAUNCHER+set}" ] && command -v ccache >/dev/null; then
    export CMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
export CCACHE_BASEDIR=${CCACHE_BASEDIR-$dir}
export QT_QPA_PLATFORM=offscreen

# Writes FILE as the revision has it to DEST; a script keeps its executable
# bit, as in an exported tree.
copy_out() {
    git -C "$repo" show "$commit:$1" >"$2" || return
    case $(git -C "$repo" ls-tree "$commit" -- "$1") in
    100755*) chmod +x "$2" ;;
    esac
}

# Another revision replaces only the files that differ: the others keep
# their times, so the build stays incremental from one run to the next.
previous=$(cat "$dir/src.rev" 2>/dev/null)
# A run ended outright (killed, or the machine stopped) may have left its
# fault planted: that tree is exported afresh.
[ -e "$dir/planted" ] && previous=
if [ -n "$check" ]; then
    : # only the patterns are tried, on the revision's own files
elif [ -n "$previous" ] && [ -d "$src" ] && [ "$previous" != "$commit" ]; then
    git -C "$repo" diff --name-only --no-renames "$previous" "$commit" | while IFS= read -r file; do
        if git -C "$repo" cat-file -e "$commit:$file" 2>/dev/null; then
            mkdir -p "$(dirname "$src/$file")"
            copy_out "$file" "$src/$file"
        else
            rm -f "$src/$file"
        fi
    done || exit 2
    echo "$commit" >"$dir/src.rev"
    fresh=1
elif [ "$previous" != "$commit" ]; then
    rm -rf "$src"
    mkdir -p "$src"
    git -C "$repo" archive "$commit" | tar -x -C "$src" || exit 2
    echo "$commit" >"$dir/src.rev"
    rm -f "$dir/planted"
    fresh=1
fi

current=
restore() {
    [ -n "$current" ] || return 0
    copy_out "$current" "$src/$current.restored" && mv "$src/$current.restored" "$src/$current" \
        && rm -f "$dir/planted"
    current=
}
trap 'restore; exit 130' INT TERM
trap restore EXIT

# Configured again after a new revision, so its new targets are listed.
configure() {
    [ -z "$fresh" ] && [ -f "$build/CMakeCache.txt" ] && [ -f "$dir/targets.txt" ] && return 0
    cmake -S "$src" -B "$build" >>"$log" 2>&1 || return 1
    fresh=
    # Everything the suite runs; the benchmarks are left out, being the
    # dearest to link and tested by nothing.
    cmake --build "$build" --target help | sed -n 's/^\.\.\. \([^ ]*\).*/\1/p' |
        grep -v -e / -e _autogen -e bench -e '^all$' -e '^clean$' -e '^depend$' -e '^edit_cache$' -e '^install' \
            -e '^list_install_components$' -e '^package' -e '^rebuild_cache$' -e '^test$' >"$dir/targets.txt"
}

# Builds everything the suite runs, and notes each test's command: ctest
# names a program only once it is built.
build() {
    configure || return 1
    local targets
    mapfile -t targets <"$dir/targets.txt"
    cmake --build "$build" -j2 --target "${targets[@]}" >>"$log" 2>&1 &&
        (cd "$build" && ctest --show-only=json-v1) >"$dir/tests.json"
}

# Test $1's command, one word a line ("command"), or the environment it runs
# in, one VAR=value a line ("environment"), or the folder it runs in.
test_info() {
    perl -MJSON::PP -e '
        my ($name, $what) = @ARGV;
        local $/;
        for my $test (@{decode_json(<STDIN>)->{tests}}) {
            next unless $test->{name} eq $name;
            if ($what eq "command") { print "$_\n" for @{$test->{command}} }
            for my $property (@{$test->{properties} // []}) {
                my $value = $property->{value};
                print "$_\n" for $property->{name} eq "ENVIRONMENT" && $what eq "environment" ? grep(length, @$value) : ();
                print "$value\n" if $property->{name} eq "WORKING_DIRECTORY" && $what eq "folder";
            }
        }' "$1" "$2" <"$dir/tests.json"
}

# Builds what test $1 runs: each program of its command that is a target of
# this build, with what it links and depends on. A test whose command runs
# nothing built here needs nothing; one without a known command, everything.
build_for() {
    local command targets=() word
    mapfile -t command < <(test_info "$1" command)
    [ ${#command[@]} -gt 0 ] || {
        build
        return
    }
    for word in "${command[@]}"; do
        [[ $word == "$build"/* ]] && grep -qxF -- "${word##*/}" "$dir/targets.txt" && targets+=("${word##*/}")
    done
    [ ${#targets[@]} -eq 0 ] || cmake --build "$build" -j2 --target "${targets[@]}" >>"$log" 2>&1
}

# Runs the suite with the options given, its output kept in the log; less
# the package test, which installs system-wide, and the licence check, which
# needs a git checkout rather than a scratch copy.
suite() {
    (cd "$build" && ctest -E '^(package|reuse_lint)$' --output-on-failure --timeout "$timeout" "$@" >"$dir/ctest.out" 2>&1)
    local status=$?
    cat "$dir/ctest.out" >>"$log"
    return $status
}

# The first test that failed in the last run of ctest.
first_failed() {
    { sed -n 's/^ *[0-9]*\/[0-9]* Test *#[0-9]*: \([^ ]*\) .*\*\*\*.*/\1/p' "$dir/ctest.out"
        sed 's/^[0-9]*://' "$build/Testing/Temporary/LastTestsFailed.log" 2>/dev/null; } | head -n 1
}

# The first failure that test $1 reported in the last run of ctest: its
# "FAIL!" line, where it prints one.
failure_of() {
    awk -v name="$1" '/ Test +#[0-9]+: / { inside = index($0, " " name " ") > 0; next }
        inside && /^FAIL!  : / { print; exit }' "$dir/ctest.out"
}

# Runs test $1 again, alone; only the test function and row that failed
# first when it names them. Succeeds when the test fails again.
confirm() {
    local name=$1 failure function row folder command environment
    failure=$(failure_of "$name")
    function=$(sed -n 's/^FAIL!  : [A-Za-z0-9_]*::\([A-Za-z0-9_]*\)(.*/\1/p' <<<"$failure")
    case $function in
    '' | initTestCase | cleanupTestCase | init | cleanup)
        ! suite -R "^$name\$"
        return
        ;;
    esac
    mapfile -t command < <(test_info "$name" command)
    mapfile -t environment < <(test_info "$name" environment)
    folder=$(test_info "$name" folder)
    # The row is the longest of the function's data tags that the failure
    # names: a tag may hold brackets and blanks.
    row=$(cd "${folder:-$build}" && env "${environment[@]}" "${command[@]}" -datatags 2>/dev/null | perl -ne '
        BEGIN { ($failure, $function) = splice @ARGV; $row = "" }
        chomp;
        my ($class, $name, $tag) = split / /, $_, 3;
        next unless defined $tag && $name eq $function;
        $row = $tag if index($failure, "FAIL!  : ${class}::$function($tag)") == 0 && length($tag) > length($row);
        END { print $row }' "$failure" "$function")
    echo "=== again: $name $function${row:+:$row}" >>"$log"
    ! (cd "${folder:-$build}" && env "${environment[@]}" timeout "$timeout" "${command[@]}" "$function${row:+:$row}") \
        >>"$log" 2>&1
}

# The Windows build of the scratch tree, and its check under Wine: 0 when
# it passes, 124 when stopped at its time limit, another status when it
# fails. What they print goes to the log.
windows_build() {
    (cd "$src" && BUILD_DIR=$build JOBS=2 scripts/build-windows.sh) >>"$log" 2>&1
}
windows_check() {
    echo "=== the Windows check" >>"$log"
    (cd "$src" && BUILD_DIR=$build JOBS=2 timeout --kill-after=60 "$windows_timeout" tests/windows/check-windows.sh) \
        >>"$log" 2>&1
}

# Applies substitution $2 to file $1: 0 applied, 3 no match, 4 more than one.
apply() {
    FAULT_SUBST=$2 perl -0777 -e '
        my $file = shift;
        open(my $in, "<", $file) or exit 5;
        local $/; my $text = <$in>; close $in;
        my $n = eval "\$text =~ $ENV{FAULT_SUBST}g";
        die $@ if $@;
        exit($n ? 4 : 3) unless $n == 1;
        open(my $out, ">", $file) or exit 5;
        print $out $text; close $out;' "$1"
}

if [ -n "$check" ]; then
    status=0
    while IFS=$'\t' read -r id file subst description guard; do
        [[ -z $id || $id == \#* ]] && continue
        scratch=$(mktemp)
        git -C "$repo" show "$commit:$file" >"$scratch" 2>/dev/null
        apply "$scratch" "$subst" 2>>"$log"
        case $? in
        0) result=applies ;;
        3) result="pattern gone"; status=1 ;;
        4) result="pattern ambiguous"; status=1 ;;
        *) result="no such file"; status=1 ;;
        esac
        rm -f "$scratch"
        printf '%-22s %s\n' "$id" "$result"
    done <"$list"
    exit $status
fi

echo "Building $commit clean ..." >&2
if ! build; then
    echo "The unchanged code does not build; see $log" >&2
    exit 2
fi
echo "Running the suite on the unchanged code ..." >&2
if ! suite -j2; then
    echo "The suite fails on the unchanged code; see $log" >&2
    exit 2
fi
tests=$(cd "$build" && ctest -N | sed -n 's/^ *Test *#[0-9]*: //p')

caught=0 slow=0 missed=0 other=0 start=$SECONDS
# In the order asked for, else in the list's order.
faults=()
while IFS= read -r line; do
    [[ -z $line || $line == \#* ]] || faults+=("$line")
done <"$list"
if [ ${#wanted[@]} -gt 0 ]; then
    chosen=()
    for id in "${wanted[@]}"; do
        found=
        for line in "${faults[@]}"; do
            [[ $line == "$id"$'\t'* ]] && chosen+=("$line") && found=1
        done
        [ -n "$found" ] || echo "No fault $id in $list" >&2
    done
    faults=("${chosen[@]}")
fi
if printf '%s\n' "${faults[@]}" | cut -f5 | grep -qx windows-check; then
    echo "Building and checking the unchanged code for Windows ..." >&2
    if ! windows_build; then
        echo "The unchanged code does not build for Windows; see $log" >&2
        exit 2
    fi
    if ! windows_check; then
        echo "The Windows check fails on the unchanged code; see $log" >&2
        exit 2
    fi
fi
printf '%-22s %-17s %-20s %6s  %s\n' id result "caught by" secs description
for line in "${faults[@]}"; do
    IFS=$'\t' read -r id file subst description guard <<<"$line"
    t0=$SECONDS by=- result=
    echo "=== $id: $file: $subst" >>"$log"
    current=$file
    echo "$file" >"$dir/planted"
    apply "$src/$file" "$subst" 2>>"$log"
    case $? in
    0) ;;
    3) result="pattern gone" ;;
    4) result="pattern ambiguous" ;;
    *) result="no such file" ;;
    esac
    if [ -z "$result" ] && [ -n "$guard" ] && [ "$guard" != windows-check ] && ! grep -qx -- "$guard" <<<"$tests"; then
        result="no such test"
    fi
    if [ -z "$result" ]; then
        first=
        # The guard alone first; everything only when it passes.
        if [ "$guard" = windows-check ]; then
            if ! windows_build; then
                result="build broke"
            else
                windows_check
                case $? in
                0) ;;
                124 | 137) first=$guard result=caught-by-timeout ;;
                *) first=$guard ;;
                esac
            fi
        elif [ -n "$guard" ]; then
            if ! build_for "$guard"; then
                result="build broke"
            elif ! suite -R "^$guard\$"; then
                first=$guard
            fi
        fi
        if [ -n "$result" ] || [ -n "$first" ]; then
            :
        elif ! build; then
            result="build broke"
        elif suite --stop-on-failure -j2; then
            result=missed
        else
            first=$(first_failed)
        fi
        if [ "$first" = windows-check ]; then
            # Caught when the check fails again, on the same build.
            by=$first
            if [ -z "$result" ]; then
                result=caught
                ! windows_check || result=flaky
            fi
        elif [ -n "$first" ]; then
            result=caught by=$first
            grep -qE "#[0-9]+: $first .*\*\*\*Timeout" "$dir/ctest.out" && result="caught-by-timeout"
            # A catch counts when the test fails again: on a busy machine a
            # test may fail once for reasons of its own.
            confirm "$first" || result=flaky
        fi
    fi
    restore
    case $result in
    caught) caught=$((caught + 1)) ;;
    caught-by-timeout) slow=$((slow + 1)) ;;
    missed | flaky) missed=$((missed + 1)) ;;
    *) other=$((other + 1)) ;;
    esac
    secs=$((SECONDS - t0))
    printf '%-22s %-17s %-20s %6s  %s\n' "$id" "$result" "${by:--}" $secs "$description"
    record "$id" "$id"$'\t'"$result"$'\t'"${by:--}"$'\t'"$secs"$'\t'"$short"
done
# The last fault's restored file is rebuilt, so the build is left clean.
build || echo "The restored code did not build; see $log" >&2
[ ${#wanted[@]} -gt 0 ] || record "(catalogue)" "(catalogue)"$'\t'run$'\t'one-by-one$'\t'$SECONDS$'\t'"$short"
echo "caught $caught, caught by time-out $slow, missed $missed, other $other in $((SECONDS - start)) s" >&2
[ "$slow" -eq 0 ] && [ "$missed" -eq 0 ] && [ "$other" -eq 0 ]
