#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Starts the station simulator on loopback with its railway window, opens
# the panel beside it, and stops the simulator again when the panel exits.
set -uo pipefail
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
    "$simulator" --host 127.0.0.1 --port 15471 --view &
    sim_pid=$!
    trap '[ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null; wait "$sim_pid" 2>/dev/null' EXIT
    sleep 0.3
    echo "Station simulator running, its window shows the railway: type 127.0.0.1 into the panel's address field and press \"Conectar CS\"."
fi

"$panel"
