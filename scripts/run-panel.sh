#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Starts the station simulator on loopback with its railway window, waits
# until it listens, opens the panel beside it, and stops the simulator again
# when the panel exits. When the simulator does not start (port 15471 taken,
# no display), it stops there, with the simulator's own message.
#
# usage: scripts/run-panel.sh PANEL SIMULATOR   (make run gives both)
set -uo pipefail
. "$(dirname "$0")/usage.sh"
offer_help "$@"
need_arguments 2 "$@"
[ -x "$1" ] || refuse "$1 is not the built panel: make run builds it and starts this script"
panel=$1
simulator=$2

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display found: the panel is a desktop window and needs one." >&2
    echo "Run it on a virtual display instead:" >&2
    echo "    xvfb-run -a make run" >&2
    exit 1
fi

sim_pid=
if [ -x "$simulator" ]; then
    echo "Starting the station simulator on 127.0.0.1 port 15471, with its railway window"
    work=$(mktemp -d "${TMPDIR:-/tmp}/run-panel.XXXXXX")
    # Its console goes on showing here; its first line says it listens.
    "$simulator" --host 127.0.0.1 --port 15471 --view > >(tee "$work/console") 2> >(tee "$work/errors" >&2) &
    sim_pid=$!
    trap 'kill "$sim_pid" 2>/dev/null; wait "$sim_pid" 2>/dev/null; rm -rf "$work"' EXIT
    until grep -q ' listening on ' "$work/console" 2>/dev/null; do
        if ! kill -0 "$sim_pid" 2>/dev/null; then
            wait "$sim_pid"
            status=$?
            sim_pid=
            # Its error output may still be on its way through tee.
            for _ in 1 2 3 4 5 6 7 8 9 10; do
                [ -s "$work/errors" ] && break
                sleep 0.1
            done
            echo "Stopped: the station simulator did not start (exit status $status): $(tail -n 1 "$work/errors")" >&2
            exit 1
        fi
        sleep 0.1
    done
    echo "In the panel, replace the address field's text (192.168.1.3) with 127.0.0.1: click into it, press Ctrl+A, type 127.0.0.1; then press \"Conectar CS\"."
fi

echo "Opening the panel"
"$panel"
