# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Sourced by the package checks: the package's names, and
# current_package BUILD_DIR PANEL SIMULATOR WORK, which prints the path of a
# package of the current build: the one `make package` left in BUILD_DIR, or,
# when that is missing or older than the programs, one built now into WORK,
# privately, so parallel runs never share it.
package=model-railway-panel
app_id=io.github.modelrailway.panel

current_package() {
    local build_dir=$1 panel=$2 simulator=$3 work=$4 deb
    deb=$(ls -t "$build_dir"/${package}_*.deb 2>/dev/null | head -n 1 || true)
    if [ -z "$deb" ] || [ "$panel" -nt "$deb" ] || [ "$simulator" -nt "$deb" ]; then
        echo "-- no current package in $build_dir; building one" >&2
        cpack --config "$build_dir/CPackConfig.cmake" -B "$work/cpack" >"$work/cpack.log" 2>&1 \
            || { cat "$work/cpack.log" >&2; return 1; }
        deb=$(ls "$work"/cpack/${package}_*.deb | head -n 1)
    fi
    realpath "$deb"
}
