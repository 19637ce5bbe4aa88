# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The Windows panel as a screen reader on Windows reads it: its whole tree
# through UI Automation (uia-tree.exe under Wine, into build-windows/
# uia-tree.txt), the panel connected to the Linux simulator, powered on and
# shown the station's list of locomotives. Compared with the table the Linux
# accessibility test checks too (tests/desktop/accessible-controls.txt):
# every control once, its object name ending its automation id, its role's
# control type, its name and, for a field, its text (the address field's as
# typed here); and the output box's whole text, which must be the station's
# multi-line reply exactly as the station sends it. Wine walks the tree from
# version 10 on (an older one hangs on the first child): with an older Wine
# the check is skipped. Wine 10 implements no Value property and no pattern
# function, so no text can be read there: the check says so in a line.
#
# Sourced by check-windows.sh, inside its namespace, on its display and in
# its Wine prefix, with the installed folder in `installed`, its helpers
# (pass, fail) and the panel driver's (tests/support/panel-driver.sh).
if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    . "$(dirname "$0")/../../scripts/usage.sh"
    offer_help "$@"
    refuse "a section of tests/windows/check-windows.sh, which sources it: run make windows-check"
fi

# A role's UI Automation control type (UIA_*ControlTypeId).
declare -A uia_control_type=(
    [Window]=50032       # Window
    [Button]=50000       # Button
    [EditableText]=50004 # Edit
    [Slider]=50015       # Slider
    [StaticText]=50020   # Text
    [Separator]=50038    # Separator
)

# station_reply COMMAND FILE: the station's reply to COMMAND, as it sends it.
station_reply() {
    local fd line
    exec {fd}<>/dev/tcp/127.0.0.1/15471 || return 1
    printf '%s' "$1" >&"$fd"
    while IFS= read -r -t "$patience" line <&"$fd"; do
        printf '%s\n' "$line"
        [[ $line == '<END '* ]] && break
    done >"$2"
    exec {fd}>&-
}

# What uia-tree.exe shows for a value this Wine does not implement (E_NOTIMPL).
uia_unimplemented='!80004001'

# compare_tree TREE ADDRESS: a line for each row of the table the tree does
# not match, the address field holding ADDRESS; texts this Wine cannot give
# are left out.
compare_tree() {
    local role types=
    for role in "${!uia_control_type[@]}"; do types+="$role=${uia_control_type[$role]} "; done
    awk -F '\t' -v types="$types" -v address="$2" -v unimplemented="$uia_unimplemented" '
        function trim(s) { gsub(/^[ \t]+|[ \t]+$/, "", s); return s }
        BEGIN { n = split(types, pairs, " "); for (i = 1; i <= n; i++) { split(pairs[i], p, "="); type[p[1]] = p[2] } }
        FNR == NR {
            id = $2; sub(/.*\./, "", id)
            count[id]++; ctype[id] = $3; name[id] = $4; value[id] = $5
            next
        }
        /^#/ || !NF { next }
        {
            split($0, cell, "|")
            id = trim(cell[1]); role = trim(cell[2]); want = trim(cell[3]); text = trim(cell[4])
            if (id == "Txt_IP") text = address
            controls++
            if (count[id] != 1) { print id ": " (count[id] ? count[id] " times" : "not") " in the tree"; next }
            if (ctype[id] != type[role]) print id ": control type " ctype[id] ", not " type[role] " (" role ")"
            if (name[id] != want) print id ": named \"" name[id] "\", not \"" want "\""
            if (text == "" || value[id] == unimplemented) next
            if (value[id] !~ /^=/) print id ": its text cannot be read (" value[id] ")"
            else if (substr(value[id], 2) != text) print id ": holds \"" substr(value[id], 2) "\", not \"" text "\""
        }
        END { if (controls < 40) print "the table lists only " controls " controls" }
    ' "$1" "$root/tests/desktop/accessible-controls.txt"
}

uia_check() {
    local version major reader=$cross/tests/windows/uia-tree.exe tree=$out/uia-tree.txt
    version=$(timeout "$patience" wine --version 2>/dev/null)
    major=${version#wine-}
    major=${major%%[!0-9]*}
    if [ "${major:-0}" -lt 10 ]; then
        echo "SKIP: the panel's tree through UI Automation: ${version:-this Wine} is older than Wine 10, the first that walks it"
        return 0
    fi
    if [ ! -f "$reader" ]; then
        echo "SKIP: the panel's tree through UI Automation: no uia-tree.exe, $(cat "$cross/tests/windows/uia-tree-skipped.txt" 2>/dev/null || echo "not built")"
        return 0
    fi
    echo "== The Windows panel's tree through UI Automation, under Wine"

    station_log=$work/uia-simulator.log station_out=$work/uia-simulator.out transcript=
    wait_until eval '! ss -Hltn "sport = :15471" | grep -q .' || { fail "port 15471 stayed taken"; return 1; }
    wine_dpi 96
    "$linux_simulator" --host 127.0.0.1 --port 15471 --log "$station_log" >"$station_out" 2>&1 &
    local simulator_pid=$!
    pids+=("$simulator_pid")
    wait_until grep -qs listening "$station_out" || { fail "the Linux simulator did not start"; return 1; }
    wine_in_background "$installed/model-railway-panel.exe" >"$work/uia-panel.err" 2>&1
    local panel_pid=$!
    pids+=("$panel_pid")
    if find_window && wait_until window_painted; then
        uia_drive && uia_compare
        click Pb_Disconnect
        wait_until eval '! kill -0 $panel_pid 2>/dev/null'
    else
        fail "the Windows panel's window did not show"
    fi
    kill "$panel_pid" "$simulator_pid" 2>/dev/null
}

# Connects, switches the power on and asks for the locomotives ("Locomotoras
# en el circuito"); leaves the station's own reply in $work/locomotives.
uia_drive() {
    local before=$failures
    row_prefix="UI Automation: " run_rows row_connect "row_power go" \
        "click Pb_Locos_List && expect_sent 'queryObjects(10, addr, name)'"
    [ "$failures" -eq "$before" ] || return 1
    station_reply "queryObjects(10, addr, name)" "$work/locomotives.latin1" &&
        iconv -f ISO-8859-1 -t UTF-8 "$work/locomotives.latin1" >"$work/locomotives" &&
        [ "$(wc -l <"$work/locomotives")" -gt 2 ] || { fail "the station sent no list of locomotives"; return 1; }
}

# Reads the tree until the output box shows the list, or the tree or the
# box's text cannot be read; then compares.
uia_compare() {
    # Not "status": the condition runs inside wait_until, whose own local
    # of that name it would set.
    local reader_status box
    uia_tree_settled() {
        # A crash ends it at once, without waiting on Wine's debugger.
        WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winedbg.exe=d" timeout "$patience" wine "$reader" "Central Station" \
            >"$tree" 2>"$work/uia-tree.err"
        reader_status=$?
        box=$(awk -F '\t' '$2 ~ /(^|\.)Txt_Out$/ { print $5 }' "$tree")
        [ $reader_status -ne 0 ] || [[ $box != =* ]] || [[ $box == "=<REPLY queryObjects"* ]]
    }
    wait_until uia_tree_settled
    if [ "$reader_status" -ne 0 ]; then
        fail "uia-tree.exe ended with status $reader_status: $(cat "$work/uia-tree.err")"
        return 1
    fi
    local differences before=$failures
    differences=$(compare_tree "$tree" 127.0.0.1)
    [ -z "$differences" ] || { fail "the UI Automation tree differs from the Linux one's table:"; echo "$differences"; }
    if [ "$box" = "$uia_unimplemented" ]; then
        echo "SKIP: the fields' and the output box's texts: this Wine's UI Automation gives no Value property ($box) and has no pattern functions"
    elif [[ $box == =* ]]; then
        printf '%b' "${box#=}" >"$work/out-box.uia"
        cmp -s "$work/out-box.uia" "$work/locomotives" ||
            { fail "the output box reads otherwise than the station's reply:"; diff "$work/out-box.uia" "$work/locomotives"; }
    else
        fail "the output box's text cannot be read: $box"
    fi
    [ "$failures" -eq "$before" ] &&
        pass "UI Automation reads the Windows panel's $(wc -l <"$tree") elements: every control of the Linux table with its id, control type and name$([[ $box == =* ]] && echo ", the fields' texts and the station's $(wc -l <"$work/locomotives")-line list in the output box")"
}

uia_check
