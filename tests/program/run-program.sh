#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The program as shipped, driven as a person would: the built panel on a
# virtual X display, real mouse and keyboard input, against the station
# simulator on 127.0.0.1:15471. It types the address, connects, switches the
# power on, takes a locomotive, moves the slider by keys and disconnects; the
# simulator must have received exactly those commands and the panel must
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
    cat "$work/simulator.log" >&2 2>/dev/null
    echo >&2
    echo "--- simulator output:" >&2
    cat "$work/simulator.out" >&2 2>/dev/null
    echo "--- panel stderr:" >&2
    cat "$work/panel.err" >&2 2>/dev/null
    exit 1
}

# Each step shows within a second or two on a busy machine; a step that
# never comes fails the test after this many seconds.
patience=10

# Polls a condition (a command) until it holds or `patience` has run out.
wait_until() {
    local deadline=$((SECONDS + patience))
    until "$@"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.05
    done
}

# A display number of its own: Xvfb picks a free one and writes it to fd 3.
Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$work/display" 2>"$work/xvfb.err" &
pids+=($!)
wait_until grep -q '[0-9]' "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.err")"
export DISPLAY=:$(tr -dc 0-9 <"$work/display")
export QT_QPA_PLATFORM=xcb NO_AT_BRIDGE=1

"$simulator" --host 127.0.0.1 --port 15471 --log "$work/simulator.log" >"$work/simulator.out" 2>&1 &
pids+=($!)
wait_until grep -q listening "$work/simulator.out" || fail "the simulator did not start"

"$panel" 2>"$work/panel.err" &
panel_pid=$!
pids+=($panel_pid)
window=$(timeout $patience xdotool search --sync --onlyvisible --name '^Central Station$' | head -n 1)
[ -n "$window" ] || fail "no window captioned \"Central Station\" appeared"
eval "$(xdotool getwindowgeometry --shell "$window")"

# A control's point, given in twips from the client area's top left, as a
# screen position: 12030 twips span the window's width.
at() {
    awk -v x="$1" -v y="$2" -v left="$X" -v top="$Y" -v width="$WIDTH" \
        'BEGIN { s = width / 12030; printf "%d %d\n", left + int(x * s + 0.5), top + int(y * s + 0.5) }'
}
click() {
    xdotool mousemove --sync $(at "$1" "$2") click 1
}
colour_is() {
    [ "$("$pixel_at" $(at "$1" "$2") 2>/dev/null)" = "$3" ]
}
# Everything the simulator must have received so far, in order.
transcript=
# True once the simulator has received exactly the transcript; a byte that
# differs from it ends the test at once.
received_all() {
    local log
    log=$(cat "$work/simulator.log" 2>/dev/null)
    [ "$log" = "$transcript" ] && return 0
    [[ $transcript == "$log"* ]] || fail "the simulator received \"$log\", not the start of \"$transcript\""
    return 1
}
expect_sent() {
    transcript+=$1
    wait_until received_all || fail "the simulator did not receive \"$1\""
}

# The address box is painted (its white ground left of the centred text).
wait_until colour_is 2100 307 ffffff || fail "the window was never painted"
# There is no window manager: the panel takes the keyboard itself.
has_keyboard() {
    [ "$(xdotool getwindowfocus -f 2>/dev/null)" = "$window" ]
}
wait_until has_keyboard || fail "the window did not take the keyboard when it appeared"

# Txt_IP, whole text selected by hand, then Pb_Connect.
click 3135 307
xdotool key ctrl+a
xdotool type --delay 20 127.0.0.1
click 967 307
wait_until grep -q connected "$work/simulator.out" || fail "the panel never connected to the simulator"
# The connect wait over, the dark GO lamp shows; clicking Lbl_Go lights it.
wait_until colour_is 9555 6382 008000 || fail "the power controls did not appear after connecting"
click 9555 6382
expect_sent "set(1, go)"
wait_until colour_is 9555 6382 00ff00 || fail "the GO lamp did not light"

# Txt_Loco_Ad and Pb_Loco_Request inside Frm_Loco (left 75, top 1830).
click 3472 2257
xdotool key ctrl+a
xdotool type --delay 20 1001
click 907 2257
expect_sent "request(1001, control)"
# Tab from the button past PB_Loco_Release to Slider_Loco: three small
# steps right and one large step.
xdotool key Tab Tab
xdotool key Right
expect_sent "set(1001, speed[1])"
xdotool key Right Right Prior
expect_sent "set(1001, speed[2])set(1001, speed[3])set(1001, speed[8])"

click 5302 307
wait_until eval '! kill -0 $panel_pid 2>/dev/null' || fail "the panel did not end after Desconectar CS"
wait "$panel_pid"
status=$?
[ "$status" -eq 0 ] || fail "the panel ended with exit code $status"

[ "$(cat "$work/simulator.log")" = "$transcript" ] || fail "the simulator received other bytes than: $transcript"
echo "PASS: the panel sent exactly what was done and ended with exit code 0"
