#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The Windows build (make windows) proven under Wine, on a virtual X display
# of its own, inside a network namespace that holds only a loopback
# interface (the panel always connects to port 15471, and no byte leaves):
#   1. the installer installs for the user without questions, with its
#      Start-menu entries;
#   2. the installed panel, driven with real mouse and keys against the
#      Linux simulator on 127.0.0.1, through the rows of a table (the
#      driver, tests/support/panel-driver.sh, runs each, and each fails on
#      its own): its window, the lamps and the S88 grid in every state, the
#      Tab order, Enter and Space on a button, select-all on focus, the
#      refused take and its message box, the output box, its pictures and
#      texts, a click while the station floods it, and disconnecting; then
#      again on a screen of 144 dpi;
#   3. the installed simulator serves the Linux panel, driven the same way;
#   4. the QTest programs cross-built for Windows (tests/windows) pass,
#      run by CTest under Wine with the offscreen platform;
#   5. the uninstaller removes what the installer put there.
# Between 2 and 3, the installed panel's tree read through UI Automation,
# as a screen reader on Windows reads it, against the Linux one's table
# (check-uia.sh; Wine 10 and later). The Windows programs run in a German
# user locale, whose decimal mark is a comma.
# Everything it prints goes to build-windows/windows-check.log too, and the
# installed panel's screenshots to build-windows/.
#
# usage: tests/windows/check-windows.sh   (BUILD_DIR: the Linux build)
set -uo pipefail
. "$(dirname "$0")/../../scripts/usage.sh"
offer_help "$@"
[ $# -eq 0 ] || refuse "takes no arguments, only BUILD_DIR and JOBS from the environment"

cd "$(dirname "$0")/../.."
root=$PWD
linux_build=${BUILD_DIR:-build}
[[ $linux_build == /* ]] || linux_build=$root/$linux_build
out=$root/build-windows
cross=$out/build

if [ -z "${PANEL_WINDOWS_CHECK_NETNS:-}" ]; then
    version=$(cat "$cross/panel-version.txt" 2>/dev/null) || {
        echo "FAIL: no Windows build in $cross: run make windows first" >&2
        exit 1
    }
    [ -d "$out/model-railway-panel-$version-win64" ] || { echo "FAIL: make windows has not finished" >&2; exit 1; }
    cmake --build "$linux_build" -j"${JOBS:-2}" --target model-railway-panel command-station-simulator pixel-at ||
        exit 1
    # The QTest programs, built beside the programs.
    nice -n 10 cmake --build "$cross" -j"${JOBS:-2}" || exit 1
    unshare_args=(--net)
    [ "$(id -u)" -eq 0 ] || unshare_args+=(--map-root-user)
    unshare "${unshare_args[@]}" true 2>/dev/null || {
        echo "FAIL: no network namespace can be made here, and port 15471 must not be taken on the machine's loopback" >&2
        exit 1
    }
    PANEL_WINDOWS_CHECK_NETNS=1 exec unshare "${unshare_args[@]}" "$BASH" "$0" "$@" > >(tee "$out/windows-check.log") 2>&1
fi
ip link set lo up || { echo "FAIL: the namespace's loopback interface cannot be brought up"; exit 1; }

version=$(cat "$cross/panel-version.txt")
folder=$out/model-railway-panel-$version-win64
linux_panel=$linux_build/app/model-railway-panel
linux_simulator=$linux_build/simulator/command-station-simulator
pixel_at=$linux_build/tests/program/pixel-at
work=$(mktemp -d)
pids=()

export WINEPREFIX=$out/wine WINEDEBUG=-all
# No Mono or Gecko download dialogs (the programs need neither), and no
# menu entries or icons written into the Linux desktop for what is installed.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Started from a Linux shell, a console program has no console window under
# Wine, and Qt would show its command-line messages in a message box. Wine
# hands a Windows program none of the host's QT_ variables, only WINEQT_
# ones, renamed.
export WINEQT_COMMAND_LINE_PARSER_NO_GUI_MESSAGE_BOXES=1
# Wine takes the Windows user locale from LC_ALL, with or without that
# locale on this machine: German writes 1,5 where C writes 1.5, so a number
# read in the user's locale rather than C's shows. Only the Windows programs
# get it.
windows_locale=de_DE.UTF-8
wine() { env LC_ALL=$windows_locale wine "$@"; }
# The same for a program left running: its own id in $!, which a function
# started in the background would not give.
wine_in_background() { env LC_ALL=$windows_locale wine "$@" & }

cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null
    done
    wineserver -k 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

pass() { echo "PASS: $*"; }
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
    return 1
}
show_logs() {
    for log in "$@"; do
        echo "--- $(basename "$log"):"
        cat "$log" 2>/dev/null
        echo
    done
}

# Wine starts programs slowly on a busy machine: every step has this long.
patience=60
. "$root/tests/support/panel-driver.sh"

# Wine's sockets belong to its server: a server of this prefix still running
# outside the namespace would listen on the machine's own loopback.
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null

# Wine places each new window further right and down, and cuts a window
# to the screen: room for the window at 144 dpi, wherever it goes.
Xvfb -displayfd 3 -nolisten tcp -screen 0 1920x1200x24 3>"$work/display" 2>"$work/xvfb.err" &
pids+=($!)
wait_until grep -q '[0-9]' "$work/display" || { echo "FAIL: Xvfb did not start: $(cat "$work/xvfb.err")"; exit 1; }
export DISPLAY=:$(tr -dc 0-9 <"$work/display")
# The Linux programs (the panel, pixel-at) draw and read on that display,
# whatever platform the caller's environment names.
export QT_QPA_PLATFORM=xcb
export NO_AT_BRIDGE=1
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Making the Wine prefix $WINEPREFIX..."
    wineboot --init >"$work/wineboot.out" 2>&1 || { show_logs "$work/wineboot.out"; exit 1; }
    wineserver -w
fi

# --- 1. The installer -------------------------------------------------------

echo "== 1. The installer, for the current user"
setup=$out/model-railway-panel-$version-setup.exe
# Every picture of the panel's .ico is in the program's icon resource as it
# is in the .ico (the installer's resources are not compressed).
has_icon() {
    perl -e 'local $/; open(my $i, "<:raw", $ARGV[0]) or exit 1; my $ico = <$i>;
        open(my $p, "<:raw", $ARGV[1]) or exit 1; my $program = <$p>;
        my $count = unpack("v", substr($ico, 4, 2));
        for my $k (0 .. $count - 1) {
            my ($size, $offset) = unpack("VV", substr($ico, 6 + 16 * $k + 8, 8));
            exit 1 if index($program, substr($ico, $offset, $size)) < 0;
        }
        exit($count ? 0 : 1)' "$folder/model-railway-panel.ico" "$1"
}
has_icon "$setup" && pass "the installer carries the panel's icon" || fail "the installer does not carry the panel's icon"
wine "$setup" /S /CurrentUser >"$work/setup.out" 2>&1
installed=$(find "$WINEPREFIX/drive_c/users" -type f -name model-railway-panel.exe -path '*Model Railway Panel*' |
    head -n 1 | xargs -r -d '\n' dirname)
if [ -n "$installed" ]; then
    missing=$(cd "$folder" && find . -type f | while read -r f; do [ -f "$installed/$f" ] || echo "$f"; done)
    [ -z "$missing" ] && pass "the installer put every file of the folder into ${installed#"$WINEPREFIX"/}" ||
        fail "the installer left out: $missing"
    shortcuts=$(find "$WINEPREFIX/drive_c" -path '*Programs/Model Railway Panel/*.lnk' | sed 's#.*/##' | sort | tr '\n' ',')
    [ "$shortcuts" = "Command Station Simulator.lnk,Model Railway Panel.lnk,README.lnk,Simulator manual.lnk,Uninstall Model Railway Panel.lnk," ] &&
        pass "the Start menu has: $shortcuts" || fail "the Start menu has: $shortcuts"
    has_icon "$installed/uninstall.exe" && pass "the uninstaller carries the panel's icon" ||
        fail "the uninstaller does not carry the panel's icon"
    # The documents open with a double click: text, every line ended by CR LF.
    for document in README.txt "Simulator manual.txt" LICENSE-GPL-3.txt LICENSE-LGPL-3.txt QT-SOURCE.txt; do
        [ -s "$installed/$document" ] && perl -0777 -ne 'exit(/(?<!\r)\n/ || !/\r\n\z/)' "$installed/$document" &&
            pass "$document is installed, with Windows' line ends" ||
            fail "$document is missing, or has a line not ended by CR LF"
    done
    markdown=$(cd "$installed" && find . -name '*.md')
    [ -z "$markdown" ] || fail "Markdown installed: $markdown"
else
    fail "the installer installed no model-railway-panel.exe"
    echo "FAIL: make windows-check, nothing installed to check"
    exit 1
fi

# --- Rows of the Windows panel's own -----------------------------------------

row_window_size() {
    [ "$WIDTH" -eq "$1" ] && [ "$HEIGHT" -eq "$2" ] || { echo "the client area is ${WIDTH}x$HEIGHT, not ${1}x$2"; return 1; }
}

# The Tab order through the powered window, from the address field on, each
# stop shown by what it does there: a button pressed by Space sends its
# command (or, "STOP", nothing), the slider steps, a field takes a text the
# next command carries, or gives its own text to Ctrl+C.
tab_walk='
Txt_Out|-|
Txt_Loco_Ad|type|1001
Pb_Loco_Request|space|request(1001, control)
PB_Loco_Release|space|release(1001, control)
Slider_Loco|Right Left|set(1001, speed[1])set(1001, speed[0])
Pb_Locos_List|space|queryObjects(10, addr, name)
Txt_Loco_Function|type|3
Pb_Function_On|space|set(1001, func[3, 1])
Pb_Function_Off|space|set(1001, func[3, 0])
Pb_Switch_Off|space|set(ID, state[0])
Pb_Switch_On|space|set(ID, state[1])
Pb_Switch_Disconnect|space|release(ID, control)
Pb_Switch_Connect|space|request(ID, control)
Txt_Switch_Address|copy|ID
Txt_Loco_Speed|copy| 0
Txt_Switch_Status|copy|1
Pb_Switch_List|space|queryObjects(11, addr, name1)
Pb_Loco_Back|space|set(1001, dir[1])
Pb_Loco_For|space|set(1001, dir[0])
Pb_Off|space|
Txt_CommandLine|type|get(20000, state)
Pb_Command_Line|space|get(20000, state)
'
row_tab_order() {
    local stop probe expected copied
    click Txt_IP
    while IFS='|' read -r stop probe expected; do
        [ -n "$stop" ] || continue
        xdotool key Tab
        case $probe in
        type) xdotool key ctrl+a type --delay 20 "$expected" ;;
        copy)
            copied=$(text_of -)
            [ "$copied" = "$expected" ] || { echo "at $stop, Ctrl+C copied \"$copied\", not \"$expected\""; return 1; }
            ;;
        -) ;;
        *)
            xdotool key $probe
            [ -z "$expected" ] || expect_sent "$expected" || { echo "at $stop"; return 1; }
            ;;
        esac
    done <<<"$tab_walk"
}

# Enter, keypad Enter and Space press the focused button once each; Escape
# presses nothing, nor does Enter in a field. The list of accessories,
# clicked after them, tells when all is in.
row_keys_press_button() {
    click Txt_Loco_Function
    xdotool key shift+Tab Return KP_Enter space Escape
    click Txt_CommandLine
    xdotool key Return
    click Pb_Switch_List
    expect_sent "$(printf 'queryObjects(10, addr, name)%.0s' 1 2 3)queryObjects(11, addr, name1)"
}

# A hint field selects its whole text when it gains the focus, by a click
# or by Tab, so typing replaces it: how, field, typed, the button whose
# command shows the field's text, and that command.
select_all_rows='
click|Txt_Loco_Ad|1002|Pb_Loco_Request|request(1002, control)
Tab from Txt_Out|Txt_Loco_Ad|1003|PB_Loco_Release|release(1003, control)
click|Txt_Loco_Function|4|Pb_Function_On|set(1003, func[4, 1])
click|Txt_Switch_Address|20001|Pb_Switch_On|set(20001, state[1])
Shift+Tab from Txt_Loco_Speed|Txt_Switch_Address|20002|Pb_Switch_Off|set(20002, state[0])
click|Txt_CommandLine|get(1, status)|Pb_Command_Line|get(1, status)
'
row_select_all() {
    local how field text button expected
    while IFS='|' read -r how field text button expected; do
        [ -n "$how" ] || continue
        case $how in
        click) click "$field" ;;
        Tab*) click "${how##* }" && xdotool key Tab ;;
        Shift*) click "${how##* }" && xdotool key shift+Tab ;;
        esac
        xdotool type --delay 20 "$text"
        click "$button"
        expect_sent "$expected" || { echo "$field reached by $how"; return 1; }
    done <<<"$select_all_rows"
}

# row_refused_take FIELD BUTTON MESSAGE RELEASE: taking with FIELD empty
# shows a plain box (its title, text and one OK button as Windows copies a
# message box, and no picture in its left half, where a box shows one) and
# sends nothing; the box is modal (a click on the panel meanwhile does
# nothing) and closes with Enter; the field stays empty (the release button
# then sends it so).
row_refused_take() {
    local box wrong= separator=---------------------------
    click "$1"
    xdotool key ctrl+a BackSpace
    click "$2"
    box=$(timeout "$patience" xdotool search --sync --onlyvisible --name '^VELT$' | head -n 1)
    [ -n "$box" ] || { echo "no box captioned VELT appeared"; return 1; }
    # Wine hands the keys to the box once it is the active window.
    xclip -selection clipboard -i </dev/null
    if wait_until eval 'xdotool key ctrl+c; clipboard_filled'; then
        [ "$(xclip -selection clipboard -o)" = "$(printf '%s\n' $separator VELT $separator "$3" $separator 'OK   ' $separator)" ] ||
            wrong="the box copies as: $(xclip -selection clipboard -o)"
    else
        wrong="the box copied nothing"
    fi
    eval "$(xdotool getwindowgeometry --shell --prefix BOX_ "$box")"
    [ "$("$pixel_at" --colour "$BOX_X" "$BOX_Y" $((BOX_WIDTH / 2)) "$BOX_HEIGHT" 2>/dev/null)" = none ] ||
        wrong+=" the box shows a picture"
    click Pb_Locos_List
    xdotool mousemove --sync $((BOX_X + 4)) $((BOX_Y + 4)) click 1 key Return
    wait_until eval '! xdotool search --onlyvisible --name "^VELT$" >/dev/null' || { echo "the box stayed"; return 1; }
    [ -z "$wrong" ] || { echo "$wrong"; return 1; }
    click Pb_Switch_List
    expect_sent "queryObjects(11, addr, name1)" || { echo "the panel took a click while the box was open"; return 1; }
    click "$4"
    expect_sent "release(, control)"
}

# A station of the check's own that floods: it appends every byte it
# receives to the file named, as the simulator's --log does, and once it has
# heard burst(), sends locomotive lines at the pace of the station's own
# 100 Mbit/s link (128 KiB every 10 ms), for as long as the panel stays
# connected.
flood_station='
use strict; use warnings; use IO::Socket::INET; use IO::Select;
my $server = IO::Socket::INET->new(LocalAddr => "127.0.0.1", LocalPort => 15471, Listen => 1, ReuseAddr => 1)
    or die "cannot listen on 127.0.0.1 port 15471: $!\n";
open my $log, ">>", $ARGV[0] or die "$ARGV[0]: $!\n";
$log->autoflush(1);
$| = 1;
print "flooding station listening on 127.0.0.1 port 15471\n";
my $lines = substr(qq(1000 addr[3] name["Tank engine"] speed[42] dir[0]\n) x 2600, 0, 128 * 1024);
while (my $client = $server->accept) {
    print $client->peerhost, ":", $client->peerport, " connected\n";
    $client->blocking(0);
    my $select = IO::Select->new($client);
    my ($heard, $flooding) = ("", 0);
    while (1) {
        my @readable = $select->can_read($flooding ? 0.01 : undef);
        if (@readable) {
            my $count = sysread($client, my $bytes, 65536);
            last unless $count;
            print $log $bytes;
            $heard .= $bytes;
            $flooding ||= index($heard, "burst()") >= 0;
        } else {
            syswrite($client, $lines);
        }
    }
    print "left\n";
}
'
# A click answered within a second while the station floods the panel: the
# flood asked for through the command line, the list button clicked once
# the panel has taken a MiB of it.
flooding() {
    local taken
    taken=$(ss -Htin state established '( sport = :15471 )' | grep -o 'bytes_acked:[0-9]*' | cut -d : -f 2)
    [ "${taken:-0}" -gt $((1024 * 1024)) ]
}
row_flood() {
    typed_into Txt_CommandLine "burst()"
    click Pb_Command_Line
    expect_sent "burst()" || return 1
    wait_until flooding || { echo "the panel never took a MiB of the flood"; return 1; }
    click Pb_Locos_List
    patience=1 expect_sent "queryObjects(10, addr, name)" || { echo "the click was not answered within a second"; return 1; }
}

# The direction buttons' pictures drawn at the window's scale: in twips
# from the button's top left (the 140 x 36 picture centred in it), the
# arrow's shaft and head red, the cab's window blue, the ground white. Read
# once the window has shown the power on, which paints them in colour.
row_pictures() {
    panel_shows power-on || return 1
    colours_are "Pb_Loco_For 1770 315 e00000" "Pb_Loco_For 2002 315 e00000" \
        "Pb_Loco_For 382 240 2f6fd8" "Pb_Loco_For 1537 165 ffffff" "Pb_Loco_Back 397 315 e00000" \
        "Pb_Loco_Back 187 315 e00000" "Pb_Loco_Back 802 240 2f6fd8" "Pb_Loco_Back 1537 165 ffffff" ||
        { echo "$wrong_colours"; return 1; }
}

# No text cut: where each of these texts is drawn inside its control (a
# button's bevel left out), in pixels; at 96 dpi clear of the control's
# right and bottom edges, at 144 dpi at 1.5 times those places, to within
# 2 pixels.
measured_texts='Label2 0 Pb_Locos_List 60 Pb_Disconnect 60'
ink_in() {
    local corners
    corners=($(printf '%s\n' "$1 $2 $2" "$1 -$2 -$2" | at_each))
    echo "$("$pixel_at" --ink "${corners[0]}" "${corners[1]}" $((corners[2] - corners[0])) \
        $((corners[3] - corners[1])) 2>/dev/null) $((corners[2] - corners[0])) $((corners[3] - corners[1]))"
}
row_texts_whole() {
    local name inset left top width height across down wrong=
    while read -r name inset; do
        read -r left top width height across down <<<"$(ink_in "$name" "$inset")"
        if [ "$1" = 96 ]; then
            echo "$name $left $top $width $height" >>"$work/ink-96"
            [ "$left" != none ] && [ $((left + width)) -lt "$across" ] && [ $((top + height)) -lt "$down" ] ||
                wrong+=" $name: its text is drawn at $left $top $width $height in ${across}x$down;"
        else
            awk -v name="$name" -v now="$left $top $width $height" '$1 == name {
                    split(now, n, " ")
                    for (i = 1; i <= 4; i++) if (n[i] !~ /^[0-9]+$/ || n[i] - 1.5 * $(i + 1) > 2 || 1.5 * $(i + 1) - n[i] > 2) bad = 1
                    found = 1
                }
                END { exit !found || bad }' "$work/ink-96" ||
                wrong+=" $name: its text is drawn at $left $top $width $height, at 96 dpi at $(grep "^$name " "$work/ink-96" | cut -d ' ' -f 2-);"
        fi
    done < <(xargs -n 2 <<<"$measured_texts")
    [ -z "$wrong" ] || { echo "$wrong"; return 1; }
}

# --- 2. The installed panel under Wine against the Linux simulator ----------

# The window as it is now, to build-windows/FILE.
row_screenshot() {
    "$pixel_at" --grab "$X" "$Y" "$WIDTH" "$HEIGHT" "$out/$1"
}

# wine_dpi DPI: the next Windows program starts on a screen of DPI dots per
# inch (Wine's LogPixels). Wine 10 reads it once a session, so this ends
# the session and with it every Windows program still running.
wine_dpi() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
}

# panel_session DPI ROW...: the installed panel started on a screen of DPI
# dots per inch, run through the rows.
panel_session() {
    local dpi=$1
    shift
    wine_dpi "$dpi"
    wine_in_background "$installed/model-railway-panel.exe" >"$work/windows-panel-$dpi.err" 2>&1
    panel_pid=$!
    pids+=($panel_pid)
    if find_window; then
        row_prefix="Windows panel, $dpi dpi: " run_rows "$@"
    else
        fail "no window captioned \"Central Station\" appeared at $dpi dpi"
    fi
    kill "$panel_pid" 2>/dev/null
}

echo "== 2. The installed Windows panel under Wine against the Linux simulator, then a flooding station"
before=$failures
station_log=$work/linux-simulator.log station_out=$work/linux-simulator.out
"$linux_simulator" --host 127.0.0.1 --port 15471 --log "$station_log" >"$station_out" 2>&1 &
simulator_pid=$!
pids+=($simulator_pid)
wait_until grep -qs listening "$station_out" || fail "the Linux simulator did not start"
reply_go=$'<REPLY get(1, status)>\n1 status[go]\n<END 0 (OK)>\n'
panel_session 96 "row_window_size 802 449" row_opened row_connect "row_power go" row_tab_order \
    row_keys_press_button row_select_all \
    "row_refused_take Txt_Loco_Ad Pb_Loco_Request 'Introducir Direccion Locomotora' PB_Loco_Release" \
    "row_refused_take Txt_Switch_Address Pb_Switch_Connect 'Introducir Direccion Desvio' Pb_Switch_Disconnect" \
    "row_power stop" "row_power go" row_drive "row_output_box 'get(1, status)' \"\$reply_go\"" \
    "row_screenshot window-wine.png" row_pictures "row_texts_whole 96" row_disconnect
kill "$simulator_pid"
wait "$simulator_pid" 2>/dev/null
# No row at 144 dpi needs a reply.
station_log=$work/flood-station.log station_out=$work/flood-station.out
perl -e "$flood_station" "$station_log" >"$station_out" 2>&1 &
flood_pid=$!
pids+=($flood_pid)
wait_until grep -qs listening "$station_out" || fail "the flooding station did not start"
panel_session 144 "row_window_size 1203 674" row_opened row_connect "row_power go" row_pictures \
    "row_texts_whole 144" "row_screenshot window-wine-144-dpi.png" row_flood row_disconnect
kill "$flood_pid"
[ $failures -eq $before ] || show_logs "$work/linux-simulator.out" "$station_out" "$work"/windows-panel-*.err

. "$root/tests/windows/check-uia.sh"

# --- 3. The installed Windows simulator, the Linux panel ----------------------

echo "== 3. The installed Windows simulator under Wine serving the Linux panel"
before=$failures
station_log=$work/windows-simulator.log station_out=$work/windows-simulator.out
wine_in_background "$installed/command-station-simulator.exe" --host 127.0.0.1 --port 15471 \
    --log "$(winepath -w "$station_log")" >"$station_out" 2>&1
windows_simulator_pid=$!
pids+=($windows_simulator_pid)
if wait_until grep -qs listening "$station_out"; then
    QT_QPA_PLATFORM=xcb "$linux_panel" 2>"$work/linux-panel.err" &
    panel_pid=$!
    pids+=($panel_pid)
    if find_window; then
        row_prefix="Linux panel: " run_rows row_opened row_connect "row_power go" row_drive \
            "row_output_box 'get(1, status)' \"\$reply_go\"" row_disconnect
    else
        fail "the Linux panel's window did not appear"
    fi
else
    fail "the Windows simulator did not start"
fi
# Its files stay in use while it runs, and the uninstaller comes later.
kill "$windows_simulator_pid"
wait "$windows_simulator_pid" 2>/dev/null
[ $failures -eq $before ] || show_logs "$station_out" "$work/linux-panel.err"

# --- 4. The QTest programs under Wine ---------------------------------------

echo "== 4. The QTest programs for Windows, under Wine, offscreen"
# Qt's DLLs and plugins from the Qt build, for these programs alone: the
# installed ones above run on what was installed.
(
    qt=${QT_WINDOWS_PREFIX:-$("$root/scripts/build-qt-windows.sh" --prefix)}
    mingw_dlls=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
    pthread_dll=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libwinpthread-1.dll)")
    export WINEPATH="$(winepath -w "$qt/bin");$(winepath -w "$mingw_dlls");$(winepath -w "$pthread_dll")"
    export WINEQT_PLUGIN_PATH=$(winepath -w "$qt/plugins")
    # The offscreen platform reads the fonts of one folder: Liberation and
    # DejaVu, which stand in for the window's faces as on Linux, gathered.
    mkdir -p "$work/fonts"
    for face in LiberationSans-Regular.ttf DejaVuSans.ttf; do
        found=$(find /usr/share/fonts -name "$face" -print -quit)
        [ -n "$found" ] && ln -sf "$(dirname "$found")"/*.ttf "$work/fonts/"
    done
    export WINEQT_QPA_FONTDIR=$(winepath -w "$work/fonts")
    LC_ALL=$windows_locale ctest --test-dir "$cross" --output-on-failure --timeout 300
) && pass "every QTest program built for Windows passed under Wine" || {
    fail "QTest programs failed under Wine"
    grep -h -B1 -A3 '^FAIL' "$cross"/tests/windows/tst_*.log
}

# --- 5. The uninstaller -----------------------------------------------------

echo "== 5. The uninstaller"
# A file of the user's own in the folder stays, and so does the folder.
echo "my notes" >"$installed/my-notes.txt"
# The uninstaller runs on from a copy of itself; its Start-menu folder goes
# after the installed folder's files.
menu=$(find "$WINEPREFIX/drive_c" -type d -path '*Start Menu/Programs/Model Railway Panel' | head -n 1)
wine "$installed/uninstall.exe" /S /CurrentUser >"$work/uninstall.out" 2>&1
wait_until eval '[ ! -d "$menu" ]' || fail "the uninstaller left its Start-menu folder"
wait_until eval '[ "$(cd "$installed" 2>/dev/null && find . -mindepth 1)" = ./my-notes.txt ]' &&
    pass "the uninstaller removed what it installed and kept the user's own file" ||
    fail "the uninstaller left: $(cd "$installed" 2>/dev/null && find . -mindepth 1 | tr '\n' ' '), not only ./my-notes.txt"
rm -f "$installed/my-notes.txt"

echo
if [ $failures -eq 0 ]; then
    echo "PASS: make windows-check"
else
    echo "FAIL: make windows-check, $failures failure(s)"
fi
[ $failures -eq 0 ]
