#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The program as shipped, driven as a person would: the built panel on a
# virtual X display, real mouse and keyboard input, against the station
# simulator on 127.0.0.1:15471. It types the address, connects, switches the
# power on, takes a locomotive, moves the slider by keys, switches a function
# and disconnects; the lamps and the S88 grid must show each state's colours,
# the simulator must have received exactly those commands and the panel must
# have ended with exit code 0.
#
#   run-program.sh PANEL SIMULATOR PIXEL-AT
#
# The panel always connects to port 15471, so everything runs inside a
# network namespace of its own that holds only a loopback interface: copies
# running at once never meet, and no byte leaves the machine. Exits 77
# (skipped) where no namespace can be made.
set -uo pipefail

panel=$1 simulator=$2 pixel_at=$3
skipped=77
for program in "$panel" "$simulator" "$pixel_at"; do
    [ -x "$program" ] || { echo "FAIL: $program is not built" >&2; exit 1; }
done

if [ -z "${PANEL_PROGRAM_TEST_NETNS:-}" ]; then
    for tool in Xvfb xdotool unshare ip; do
        command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing: run scripts/install-deps.sh" >&2; exit 1; }
    done
    # As an ordinary user the namespace needs a user namespace of its own.
    unshare_args=(--net)
    [ "$(id -u)" -eq 0 ] || unshare_args+=(--map-root-user)
    if ! unshare "${unshare_args[@]}" true 2>/dev/null; then
        echo "SKIP: network namespaces are not allowed here, and the panel's port 15471 must not be taken on the machine's own loopback"
        exit $skipped
    fi
    PANEL_PROGRAM_TEST_NETNS=1 exec unshare "${unshare_args[@]}" "$BASH" "$0" "$@"
fi

if ! ip link set lo up; then
    echo "SKIP: the loopback interface of the private network namespace cannot be brought up"
    exit $skipped
fi

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null
    done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    echo "--- simulator log (bytes received):" >&2
    cat "$station_log" >&2 2>/dev/null
    echo >&2
    echo "--- simulator output:" >&2
    cat "$station_out" >&2 2>/dev/null
    echo "--- panel stderr:" >&2
    cat "$work/panel.err" >&2 2>/dev/null
    exit 1
}

# Each step shows within a second or two on a busy machine; a step that
# never comes fails the test after this many seconds.
patience=10
station_log=$work/simulator.log station_out=$work/simulator.out
. "$(dirname "$0")/../support/panel-driver.sh"

# A display number of its own: Xvfb picks a free one and writes it to fd 3.
Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$work/display" 2>"$work/xvfb.err" &
pids+=($!)
wait_until grep -q '[0-9]' "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.err")"
export DISPLAY=:$(tr -dc 0-9 <"$work/display")
export QT_QPA_PLATFORM=xcb NO_AT_BRIDGE=1

"$simulator" --host 127.0.0.1 --port 15471 --log "$station_log" >"$station_out" 2>&1 &
pids+=($!)
wait_until grep -q listening "$station_out" || fail "the simulator did not start"

"$panel" 2>"$work/panel.err" &
panel_pid=$!
pids+=($panel_pid)
find_window || fail "no window captioned \"Central Station\" appeared"

# There is no window manager: the panel takes the keyboard itself.
has_keyboard() {
    [ "$(xdotool getwindowfocus -f 2>/dev/null)" = "$window" ]
}
stop_at_failure=1
run_rows row_opened "wait_until has_keyboard" row_connect "row_power go" row_drive row_disconnect >&2 ||
    fail "a row failed"
[ "$(cat "$station_log")" = "$transcript" ] || fail "the simulator received other bytes than: $transcript"
echo "PASS: the panel sent exactly what was done and ended with exit code 0"
