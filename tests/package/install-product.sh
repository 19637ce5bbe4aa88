#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The product without the workshop, as a packager takes it: a fresh build of
# the source tree with -DBUILD_TESTING=OFF, configured, built and installed
# with reuse, help2man and Python off the PATH. It must build the two
# programs and the icon renderer and nothing else, never look for Qt Test,
# and install exactly the files a user needs; the installed simulator names
# its version and a manual that is there. `make run` must install none of
# the workshop's tools.
#
# usage: install-product.sh SOURCE_DIR WORK_DIR GENERATOR
# WORK_DIR is emptied first; with a fixed one, ccache finds the same paths
# again and a second run compiles almost nothing.
set -euo pipefail
. "$(dirname "$0")/../../scripts/usage.sh"
offer_help "$@"
need_arguments 3 "$@"
source_dir=$1 work=$2 generator=$3
fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work/bin"
# Every program of the PATH but the workshop's.
IFS=: read -ra path_dirs <<<"$PATH"
for dir in "${path_dirs[@]}"; do
    for program in "$dir"/*; do
        name=${program##*/}
        [[ -x $program && ! -e $work/bin/$name ]] || continue
        [[ $name =~ ^(reuse|help2man|python.*)$ ]] || ln -s "$program" "$work/bin/$name"
    done
done
export PATH=$work/bin
for tool in reuse help2man python3; do
    ! command -v "$tool" >/dev/null || fail "$tool is still on the PATH"
done

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$source_dir" -B "$work/build" -G "$generator" -DBUILD_TESTING=OFF "${launcher[@]}" >"$work/configure.log" 2>&1 \
    || { cat "$work/configure.log" >&2; fail "configuring with -DBUILD_TESTING=OFF failed"; }
cmake --build "$work/build" -j2 >"$work/build.log" 2>&1 || { tail -n 50 "$work/build.log" >&2; fail "the build failed"; }
! grep -q Qt6Test "$work/build/CMakeCache.txt" || fail "the build looked for Qt Test: $(grep Qt6Test "$work/build/CMakeCache.txt")"

built=$(cd "$work/build" && find . -path ./CMakeFiles -prune -o -type f -perm -u+x -print | sed 's#^\./##' | sort)
expected_built=$'app/model-railway-panel\npackaging/render-icon\nsimulator/command-station-simulator'
[ "$built" = "$expected_built" ] || fail "the build made other programs than the two and the icon renderer:"$'\n'"$built"

prefix=$work/prefix
cmake --install "$work/build" --prefix "$prefix" >"$work/install.log" 2>&1 \
    || { cat "$work/install.log" >&2; fail "installing failed"; }
app_id=io.github.modelrailway.panel
doc=share/doc/model-railway-panel
expected_installed=$(sort <<EOT
bin/command-station-simulator
bin/model-railway-panel
share/applications/$app_id.desktop
share/metainfo/$app_id.metainfo.xml
share/icons/hicolor/16x16/apps/$app_id.png
share/icons/hicolor/32x32/apps/$app_id.png
share/icons/hicolor/scalable/apps/$app_id.svg
share/man/man1/command-station-simulator.1.gz
share/man/man1/model-railway-panel.1.gz
$doc/README.md
$doc/changelog.gz
$doc/copyright
$doc/example-layout.json
$doc/simulator.md
EOT
)
installed=$(cd "$prefix" && find . -type f | sed 's#^\./##' | sort)
[ "$installed" = "$expected_installed" ] \
    || fail "the install differs from the expected files:"$'\n'"$(diff <(echo "$expected_installed") <(echo "$installed"))"

version=$("$prefix/bin/command-station-simulator" --version) || fail "command-station-simulator --version failed"
[ "$version" = "command-station-simulator 1.0.0" ] || fail "--version printed \"$version\""
"$prefix/bin/command-station-simulator" --help | grep -qxF "Its manual: $prefix/$doc/simulator.md" \
    || fail "--help does not name the installed manual, $prefix/$doc/simulator.md"

run_set=$("$source_dir/scripts/install-deps.sh" --list run)
workshop=$(grep -xE 'clang.*|lintian|reuse|help2man|xdotool|appstream|python3.*' <<<"$run_set" || true)
[ -z "$workshop" ] || fail "make run would install the workshop's $workshop"

rm -rf "$work"
echo "PASS: built without the workshop: $(tr '\n' ' ' <<<"$built"); installed $(wc -l <<<"$installed") files"
