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

# appstream_verdict_accepted STATUS OUTPUT: whether appstreamcli's validate
# or validate-tree (--pedantic) passed the metainfo, given its exit status
# and output; prints what it does not accept. Every remark fails it but two.
# The project has no public home yet, and a made-up address would be a dead
# link: AppStream 1.0 asks for one (url-homepage-missing, a warning that
# fails the validation) and is answered no. Validators older than 1.0 do not
# know the <developer> tag that 1.0 asks for, and say so.
appstream_verdict_accepted() {
    local status=$1 output=$2 remarks unexpected
    local homepage="W: $app_id:~: url-homepage-missing"
    local accepted=("$homepage")
    appstreamcli --version | grep -q "version: 0\." && accepted+=("I: $app_id:[0-9]+: unknown-tag developer")
    remarks=$(sed -nE 's/^ *([A-Z]: )/\1/p' <<<"$output")
    unexpected=$(grep -vxE "$(IFS='|' && echo "${accepted[*]}")" <<<"$remarks" || true)
    [ -z "$unexpected" ] || { echo "$unexpected"; return 1; }
    [ "$status" -eq 0 ] || grep -qxF "$homepage" <<<"$remarks" || { echo "$output"; return 1; }
}

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
