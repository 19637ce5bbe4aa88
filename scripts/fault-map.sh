#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Draws the map of the fault catalogue, the table at the end of
# docs/robustness.md, and the catalogue's figures before it, from
# scripts/faults.txt (which faults there are) and scripts/fault-results.txt
# (what the last run of each found), so that the map never holds a fault the
# catalogue lacks, or misses one it has, and no figure is typed by hand.
#
#   scripts/fault-map.sh            prints the figures and the table
#   scripts/fault-map.sh --write    puts them into docs/robustness.md
#   scripts/fault-map.sh --check    fails, showing the difference, when
#                                   docs/robustness.md does not hold them
#
# Each goes between its two marker lines of docs/robustness.md. The table's
# rows are grouped by file, folder by folder in the order of the product's
# layers, files in name order, each file's faults in the catalogue's order.
# The figures: the counts of each result, the median and the five slowest
# catches, and the time of the last run of the whole catalogue (the results
# line "(catalogue)").
#
# The table also has a row for every product file that has no fault of its
# own. The product's files are the C++ sources and headers that the two
# programs, and the icon renderer whose pictures are installed with them,
# are built from: every .cpp and .h under app/, window/, link/, commands/,
# actions/, common/, simulator/, artwork/ and packaging/, as git lists
# them (or, in a tree exported without git, as they lie there); the
# Windows-only ones count too. Tests, benches, tools and fuzz targets are the
# workshop's. Each needs a fault of its own, but for a header whose .cpp has
# faults: a .cpp's first #include "..." is its own header (cnumber_posix.cpp
# and cnumber_windows.cpp both begin with common/cnumber.h), whose
# declarations its faults guard. --check fails, naming them, while a product
# file has neither.
set -uo pipefail
. "$(dirname "$0")/usage.sh"
offer_help "$@"

top=$(cd "$(dirname "$0")/.." && pwd -P)
list=$top/scripts/faults.txt
results=$top/scripts/fault-results.txt
doc=$top/docs/robustness.md
begin='<!-- The catalogue table: made by scripts/fault-map.sh from scripts/faults.txt and scripts/fault-results.txt -->'
end='<!-- End of the catalogue table -->'
figures_begin='<!-- The catalogue figures: made by scripts/fault-map.sh from scripts/faults.txt and scripts/fault-results.txt -->'
figures_end='<!-- End of the catalogue figures -->'

product_folders=(app window link commands actions common simulator artwork packaging)
product_files() {
    if [ "$(git -C "$top" rev-parse --show-toplevel 2>/dev/null)" = "$top" ]; then
        git -C "$top" ls-files -- "${product_folders[@]/%//*.cpp}" "${product_folders[@]/%//*.h}"
    else
        (cd "$top" && find "${product_folders[@]}" -type f \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null | sort)
    fi
}

# The table, or with "uncovered" as $1 only the product files without a
# fault, one a line.
table() {
    product_files | perl -e '
        my ($what, $list, $results, $top) = @ARGV;
        chomp(my @product = <STDIN>);
        my %found;
        if (open(my $in, "<", $results)) {
            while (<$in>) {
                chomp;
                next if /^#/ || !/\S/;
                my ($id, $result, $test, $secs, $rev) = split /\t/;
                my $text = $result eq "caught" ? "caught by $test"
                    : $result eq "caught-by-timeout" ? "**caught only by the time-out of $test**" : $result;
                $text .= " in $secs s" if $result =~ /^caught/ && $secs =~ /^\d+$/;
                $found{$id} = "$text at $rev";
            }
        }
        my @layers = qw(app window artwork link commands actions common simulator);
        my %rank = map { $layers[$_] => $_ } 0 .. $#layers;
        my (%faults, @files);
        open(my $in, "<", $list) or die "$list: $!\n";
        while (<$in>) {
            chomp;
            next if /^#/ || !/\S/;
            my ($id, $file, undef, $description) = split /\t/;
            push @files, $file unless $faults{$file};
            push @{$faults{$file}}, [$id, $description];
        }
        # Headers guarded by the faults of the .cpp files that include them first.
        my (%guarded, @uncovered);
        for my $file (grep { /\.cpp$/ && $faults{$_} } @product) {
            open(my $source, "<", "$top/$file") or next;
            while (<$source>) {
                next unless /^\s*#\s*include\s*([<"])([^">]+)/;
                my ($quoted, $header) = ($1 eq q("), $2);
                $header = ($file =~ m{^(.*/)} ? $1 : "") . $header unless $header =~ m{/};
                push @{$guarded{$header}}, $file if $quoted;
                last;
            }
        }
        for my $file (grep { !$faults{$_} } @product) {
            push @files, $file;
            push @uncovered, $file unless $guarded{$file};
        }
        if ($what eq "uncovered") {
            print "$_\n" for @uncovered;
            exit;
        }
        my $key = sub { my ($folder) = split m{/}, $_[0]; sprintf("%02d %s", $rank{$folder} // 99, $_[0]) };
        print "| File | Fault | What it breaks | Result |\n|---|---|---|---|\n";
        for my $file (sort { $key->($a) cmp $key->($b) } @files) {
            my $shown = "`$file`";
            if (!$faults{$file}) {
                my $by = join ", ", map { "`$_`" } @{$guarded{$file} // []};
                print $by ? "| $shown | | its declarations, guarded by the faults of $by | |\n" : "| $shown | | | **no fault** |\n";
                next;
            }
            for my $fault (@{$faults{$file}}) {
                my ($id, $description) = @$fault;
                printf "| %s | `%s` | %s | %s |\n", $shown, $id, $description, $found{$id} // "not run";
                $shown = "";
            }
        }' "${1:-table}" "$list" "$results" "$top"
}

# One paragraph: the counts of each result, the median and slowest catches
# and the last complete run's time.
figures() {
    perl -e '
        my ($list, $results) = @ARGV;
        my (%ids, %result, %secs, %rev, $run);
        open(my $in, "<", $list) or die "$list: $!\n";
        while (<$in>) { $ids{(split /\t/)[0]} = 1 unless /^#/ || !/\S/ }
        open($in, "<", $results) or die "$results: $!\n";
        while (<$in>) {
            chomp;
            next if /^#/ || !/\S/;
            my ($id, $result, $test, $secs, $rev) = split /\t/;
            $run = [$test, $secs, $rev] if $id eq "(catalogue)";
            next unless $ids{$id};
            ($result{$id}, $secs{$id}, $rev{$id}) = ($result, $secs, $rev);
        }
        my %count;
        $count{$result{$_} // "not run"}++ for keys %ids;
        my @order = ("caught", "caught-by-timeout", "missed", "flaky");
        my @other = sort grep { my $r = $_; !grep { $_ eq $r } @order } keys %count;
        my %label = ("caught-by-timeout" => "caught only by a time-out");
        my $counts = join ", ", map { ($count{$_} // 0) . " " . ($label{$_} // $_) } @order, @other;
        my @catches = sort { $secs{$b} <=> $secs{$a} || $a cmp $b }
            grep { ($result{$_} // "") =~ /^caught/ && $secs{$_} =~ /^\d+$/ } keys %ids;
        my @times = sort { $a <=> $b } map { $secs{$_} } @catches;
        my $median = @times % 2 ? $times[$#times / 2] : ($times[@times / 2 - 1] + $times[@times / 2]) / 2;
        my $slowest = join ", ", map { "`$_` ($secs{$_} s)" } @catches[0 .. ($#catches < 4 ? $#catches : 4)];
        my %runs;
        $runs{$rev{$_}}++ for grep { defined $rev{$_} } keys %ids;
        my $revs = join ", ", map { "$_ ($runs{$_})" } sort { $runs{$b} <=> $runs{$a} || $a cmp $b } keys %runs;
        my $how = ($run // [""])->[0] eq "--halves" ? "as two halves side by side" : "one fault after another";
        my $whole = $run ? sprintf("The last run of the whole catalogue, at %s %s, took %d min %d s, building included.",
            $run->[2], $how, $run->[1] / 60, $run->[1] % 60) : "No run of the whole catalogue is recorded.";
        print "The catalogue holds ", scalar(keys %ids), " faults. Their last results: $counts.";
        print " From planting a fault to its confirmed catch: $median s at the median; the slowest catches $slowest." if @times;
        print " $whole Results by revision: $revs.\n";
    ' "$list" "$results" | fold -s -w 76 | sed 's/ *$//'
}

# What docs/robustness.md holds now between the marker lines $1 and $2.
current() {
    awk -v begin="$1" -v end="$2" '$0 == end { inside = 0 } inside { print } $0 == begin { inside = 1 }' "$doc"
}

# Puts the output of command $3 between the marker lines $1 and $2.
put() {
    if ! grep -qxF -- "$1" "$doc" || ! grep -qxF -- "$2" "$doc"; then
        echo "$doc has no marker lines $1" >&2
        return 1
    fi
    local fresh
    fresh=$(mktemp)
    "$3" >"$fresh" &&
        awk -v begin="$1" -v end="$2" -v fresh="$fresh" '
            $0 == end { inside = 0 }
            !inside { print }
            $0 == begin { inside = 1; while ((getline line < fresh) > 0) print line }' "$doc" >"$doc.new" &&
        mv "$doc.new" "$doc"
    local status=$?
    rm -f "$fresh"
    return $status
}

case ${1-} in
--write)
    put "$figures_begin" "$figures_end" figures && put "$begin" "$end" table || exit 1
    ;;
--check)
    status=0
    if ! diff -u <(current "$figures_begin" "$figures_end") <(figures) >&2 ||
        ! diff -u <(current "$begin" "$end") <(table) >&2; then
        echo "The catalogue's figures or table in docs/robustness.md differ from scripts/faults.txt and" \
            "scripts/fault-results.txt; scripts/fault-map.sh --write draws them again." >&2
        status=1
    fi
    mapfile -t uncovered < <(table uncovered)
    if [ ${#uncovered[@]} -gt 0 ]; then
        echo "Product files with no fault in scripts/faults.txt (a header counts when the .cpp that" \
            "includes it first has one):" >&2
        printf '    %s\n' "${uncovered[@]}" >&2
        status=1
    fi
    exit $status
    ;;
'')
    figures
    echo
    table
    ;;
*)
    refuse "$1 is no option of it: $script_name --help says which there are"
    ;;
esac
