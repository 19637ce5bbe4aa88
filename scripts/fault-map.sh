#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Draws the map of the fault catalogue, the table at the end of
# docs/robustness.md, from scripts/faults.txt (which faults there are) and
# scripts/fault-results.txt (what the last run of each found), so that the
# map never holds a fault the catalogue lacks, or misses one it has.
#
#   scripts/fault-map.sh            prints the table
#   scripts/fault-map.sh --write    puts it into docs/robustness.md
#   scripts/fault-map.sh --check    fails, showing the difference, when the
#                                   table in docs/robustness.md is not it
#
# The table goes between the two marker lines of docs/robustness.md. Its
# rows are grouped by file, folder by folder in the order of the product's
# layers, files in name order, each file's faults in the catalogue's order.
set -uo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
list=$top/scripts/faults.txt
results=$top/scripts/fault-results.txt
doc=$top/docs/robustness.md
begin='<!-- The catalogue table: made by scripts/fault-map.sh from scripts/faults.txt and scripts/fault-results.txt -->'
end='<!-- End of the catalogue table -->'

table() {
    perl -e '
        my ($list, $results) = @ARGV;
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
        my @layers = qw(app window link commands actions common simulator);
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
        my $key = sub { my ($folder) = split m{/}, $_[0]; sprintf("%02d %s", $rank{$folder} // 99, $_[0]) };
        print "| File | Fault | What it breaks | Result |\n|---|---|---|---|\n";
        for my $file (sort { $key->($a) cmp $key->($b) } @files) {
            my $shown = "`$file`";
            for my $fault (@{$faults{$file}}) {
                my ($id, $description) = @$fault;
                printf "| %s | `%s` | %s | %s |\n", $shown, $id, $description, $found{$id} // "not run";
                $shown = "";
            }
        }' "$list" "$results"
}

# The table as docs/robustness.md holds it now.
current() {
    awk -v begin="$begin" -v end="$end" '$0 == end { inside = 0 } inside { print } $0 == begin { inside = 1 }' "$doc"
}

case ${1-} in
--write)
    if ! grep -qxF -- "$begin" "$doc" || ! grep -qxF -- "$end" "$doc"; then
        echo "$doc has no marker lines for the table" >&2
        exit 1
    fi
    fresh=$(mktemp)
    trap 'rm -f "$fresh"' EXIT
    table >"$fresh" || exit 1
    awk -v begin="$begin" -v end="$end" -v fresh="$fresh" '
        $0 == end { inside = 0 }
        !inside { print }
        $0 == begin { inside = 1; while ((getline line < fresh) > 0) print line }' "$doc" >"$doc.new" &&
        mv "$doc.new" "$doc"
    ;;
--check)
    if ! diff -u <(current) <(table) >&2; then
        echo "The catalogue table of docs/robustness.md differs from scripts/faults.txt and scripts/fault-results.txt;" \
            "scripts/fault-map.sh --write draws it again." >&2
        exit 1
    fi
    ;;
'')
    table
    ;;
*)
    sed -n '2,/^set /{/^#/s/^# \{0,1\}//p}' "$0"
    exit 2
    ;;
esac
