#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The Windows build (make windows) proven under Wine, on a virtual X display
# of its own, inside a network namespace that holds only a loopback
# interface (the panel always connects to port 15471, and no byte leaves):
#   1. the Windows panel opens its window at the size the Linux one has
#      (a screenshot goes to docs/window-wine.png), connects to the Linux
#      simulator on 127.0.0.1 and, driven with real mouse and keys, sends
#      exactly the bytes of Go, a take, a speed and a function; the
#      station's replies show in its output box;
#      its tree, read through UI Automation as a screen reader on Windows
#      reads it, matches the Linux one's (check-uia.sh; Wine 10 and later);
#   2. the Windows simulator serves the Linux panel, driven the same way,
#      and both output boxes show the same replies;
#   3. the QTest programs cross-built for Windows (tests/windows) pass,
#      run by CTest under Wine with the offscreen platform;
#   4. the installer, with the panel's icon, installs for the user without
#      questions, with its Start-menu entries and the documents as text
#      with Windows' line ends, and its uninstaller removes what it
#      installed.
# The Windows programs run in a German user locale, whose decimal mark is a
# comma.
# Everything it prints goes to build-windows/windows-check.log too.
#
# usage: tests/windows/check-windows.sh   (BUILD_DIR: the Linux build)
set -uo pipefail

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
failures=0

export WINEPREFIX=$out/wine WINEDEBUG=-all
# No Mono or Gecko download dialogs (the programs need neither), and no
# menu entries or icons written into the Linux desktop for what is installed.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Started from a Linux shell, a console program has no console window under
# Wine, and Qt would show its command-line messages in a message box.
export QT_COMMAND_LINE_PARSER_NO_GUI_MESSAGE_BOXES=1
# Wine takes the Windows user locale from LC_ALL, with or without that
# locale on this machine: German writes 1,5 where C writes 1.5, so a number
# read in the user's locale rather than C's shows. Only the Windows programs
# get it.
windows_locale=de_DE.UTF-8
wine() { env LC_ALL=$windows_locale wine "$@"; }

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
wait_until() {
    local deadline=$((SECONDS + patience))
    until "$@"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.1
    done
}

# Wine's sockets belong to its server: a server of this prefix still running
# outside the namespace would listen on the machine's own loopback.
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null

Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$work/display" 2>"$work/xvfb.err" &
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

# --- Driving a panel, Windows or Linux, as a person would ------------------

window= X= Y= WIDTH= HEIGHT=
# A control's point, given in twips from the client area's top left, as a
# screen position: 12030 twips span the client area's width.
at() {
    awk -v x="$1" -v y="$2" -v left="$X" -v top="$Y" -v width="$WIDTH" \
        'BEGIN { s = width / 12030; printf "%d %d\n", left + int(x * s + 0.5), top + int(y * s + 0.5) }'
}
click() { xdotool mousemove --sync $(at "$1" "$2") click 1; }
colour_is() { [ "$("$pixel_at" $(at "$1" "$2") 2>/dev/null)" = "$3" ]; }
typed_into() {
    click "$1" "$2"
    xdotool key ctrl+a
    xdotool type --delay 30 "$3"
}

transcript=
received_all() {
    local log
    log=$(cat "$station_log" 2>/dev/null)
    [ "$log" = "$transcript" ] && return 0
    [[ $transcript == "$log"* ]] || { echo "the station received \"$log\", not the start of \"$transcript\""; return 2; }
    return 1
}
expect_sent() {
    transcript+=$1
    wait_until received_all || { fail "the station did not receive exactly \"$transcript\""; return 1; }
}

# The output box's whole text, copied to the clipboard as a person would.
output_text() {
    click 3135 1147
    xdotool key ctrl+a ctrl+c
    sleep 0.5
    xclip -selection clipboard -o 2>/dev/null
}

# drive NAME: the panel whose window is up connects to the station on
# 127.0.0.1, switches the power on, takes locomotive 1001, steps its speed
# once and switches its function 3 on; leaves the output box's text in
# $work/NAME.out-box.
drive() {
    local name=$1
    transcript=
    wait_until colour_is 2100 307 ffffff || { fail "$name: the window was never painted"; return 1; }
    typed_into 3135 307 127.0.0.1
    click 967 307
    wait_until grep -q connected "$station_out" || { fail "$name: the panel never connected"; return 1; }
    wait_until colour_is 9555 6382 008000 || { fail "$name: the power controls did not appear"; return 1; }
    click 9555 6382
    expect_sent "set(1, go)" || return 1
    typed_into 3472 2257 1001
    click 907 2257
    expect_sent "request(1001, control)" || return 1
    xdotool key Tab Tab Right
    expect_sent "set(1001, speed[1])" || return 1
    typed_into 6202 3472 3
    click 4350 3457
    expect_sent "set(1001, func[3, 1])" || return 1
    pass "$name: the station received exactly: $transcript"
    local reply="<REPLY set(1001, func[3, 1])>"
    wait_until eval 'output_text >"$work/$name.out-box"; grep -qF "$reply" "$work/$name.out-box"' ||
        { fail "$name: the output box does not show the reply \"$reply\""; return 1; }
    pass "$name: the output box shows the station's replies ($(grep -c '^<END' "$work/$name.out-box") <END> lines)"
}

find_window() {
    window=$(timeout $patience xdotool search --sync --onlyvisible --name '^Central Station$' | head -n 1)
    [ -n "$window" ] || return 1
    eval "$(xdotool getwindowgeometry --shell "$window")"
}

# --- 1. The Windows panel, the Linux simulator ----------------------------

echo "== 1. The Windows panel under Wine against the Linux simulator"
station_log=$work/linux-simulator.log station_out=$work/linux-simulator.out
"$linux_simulator" --host 127.0.0.1 --port 15471 --log "$station_log" >"$station_out" 2>&1 &
pids+=($!)
wait_until grep -qs listening "$station_out" || fail "the Linux simulator did not start"
wine "$folder/model-railway-panel.exe" >"$work/windows-panel.err" 2>&1 &
panel_pid=$!
pids+=($panel_pid)
if find_window; then
    # The Linux window's client area: 12030 x 6735 twips at 96 dpi.
    if [ "$WIDTH" -eq 802 ] && [ "$HEIGHT" -eq 449 ]; then
        pass "the Windows panel's window is ${WIDTH}x$HEIGHT, as the Linux one"
    else
        fail "the Windows panel's window is ${WIDTH}x$HEIGHT, not 802x449 as the Linux one"
    fi
    if drive windows-panel; then
        "$pixel_at" --grab "$X" "$Y" "$WIDTH" "$HEIGHT" "$root/docs/window-wine.png" &&
            echo "Screenshot: docs/window-wine.png"
        click 5302 307
        if wait_until eval '! kill -0 $panel_pid 2>/dev/null'; then
            wait "$panel_pid"
            status=$?
            [ $status -eq 0 ] && pass "the Windows panel ended with exit code 0 after Desconectar CS" ||
                fail "the Windows panel ended with exit code $status"
        else
            fail "the Windows panel did not end after Desconectar CS"
        fi
    fi
else
    fail "no window captioned \"Central Station\" appeared"
fi
[ $failures -eq 0 ] || show_logs "$station_out" "$work/windows-panel.err"
kill "$panel_pid" 2>/dev/null
kill "${pids[1]}" 2>/dev/null

. "$root/tests/windows/check-uia.sh"

# --- 2. The Windows simulator, the Linux panel ----------------------------

echo "== 2. The Windows simulator under Wine serving the Linux panel"
before=$failures
station_log=$work/windows-simulator.log station_out=$work/windows-simulator.out
wine "$folder/command-station-simulator.exe" --host 127.0.0.1 --port 15471 \
    --log "$(winepath -w "$station_log")" >"$station_out" 2>&1 &
pids+=($!)
if wait_until grep -qs listening "$station_out"; then
    QT_QPA_PLATFORM=xcb "$linux_panel" 2>"$work/linux-panel.err" &
    panel_pid=$!
    pids+=($panel_pid)
    if find_window; then
        drive linux-panel
        click 5302 307
        wait_until eval '! kill -0 $panel_pid 2>/dev/null' || fail "the Linux panel did not end after Desconectar CS"
    else
        fail "the Linux panel's window did not appear"
    fi
else
    fail "the Windows simulator did not start"
fi
if [ -s "$work/windows-panel.out-box" ] && [ -s "$work/linux-panel.out-box" ]; then
    cmp -s "$work/windows-panel.out-box" "$work/linux-panel.out-box" &&
        pass "both output boxes show the same text" ||
        fail "the output boxes differ: $(diff "$work/windows-panel.out-box" "$work/linux-panel.out-box")"
fi
[ $failures -eq $before ] || show_logs "$station_out" "$work/linux-panel.err"

# --- 3. The QTest programs under Wine ---------------------------------------

echo "== 3. The QTest programs for Windows, under Wine, offscreen"
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
if LC_ALL=$windows_locale ctest --test-dir "$cross" --output-on-failure --timeout 300; then
    pass "every QTest program built for Windows passed under Wine"
else
    fail "QTest programs failed under Wine"
    grep -h -B1 -A3 '^FAIL' "$cross"/tests/windows/tst_*.log
fi

# --- 4. The installer -------------------------------------------------------

echo "== 4. The installer, for the current user, and its uninstaller"
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
installed=$(find "$WINEPREFIX/drive_c/users" -type f -name model-railway-panel.exe -path '*Model Railway Panel*' | head -n 1)
if [ -n "$installed" ]; then
    dir=$(dirname "$installed")
    missing=$(cd "$folder" && find . -type f | while read -r f; do [ -f "$dir/$f" ] || echo "$f"; done)
    [ -z "$missing" ] && pass "the installer put every file of the folder into ${dir#"$WINEPREFIX"/}" ||
        fail "the installer left out: $missing"
    shortcuts=$(find "$WINEPREFIX/drive_c" -path '*Programs/Model Railway Panel/*.lnk' | sed 's#.*/##' | sort | tr '\n' ',')
    [ "$shortcuts" = "Command Station Simulator.lnk,Model Railway Panel.lnk,README.lnk,Simulator manual.lnk,Uninstall Model Railway Panel.lnk," ] &&
        pass "the Start menu has: $shortcuts" || fail "the Start menu has: $shortcuts"
    has_icon "$dir/uninstall.exe" && pass "the uninstaller carries the panel's icon" ||
        fail "the uninstaller does not carry the panel's icon"
    # The documents open with a double click: text, every line ended by CR LF.
    for document in README.txt "Simulator manual.txt" LICENSE-GPL-3.txt LICENSE-LGPL-3.txt QT-SOURCE.txt; do
        [ -s "$dir/$document" ] && perl -0777 -ne 'exit(/(?<!\r)\n/ || !/\r\n\z/)' "$dir/$document" &&
            pass "$document is installed, with Windows' line ends" ||
            fail "$document is missing, or has a line not ended by CR LF"
    done
    markdown=$(cd "$dir" && find . -name '*.md')
    [ -z "$markdown" ] || fail "Markdown installed: $markdown"
    # A file of the user's own in the folder stays, and so does the folder.
    echo "my notes" >"$dir/my-notes.txt"
    # The uninstaller runs on from a copy of itself; its Start-menu folder
    # goes after the installed folder's files.
    menu=$(find "$WINEPREFIX/drive_c" -type d -path '*Start Menu/Programs/Model Railway Panel' | head -n 1)
    wine "$dir/uninstall.exe" /S /CurrentUser >"$work/uninstall.out" 2>&1
    wait_until eval '[ ! -d "$menu" ]' || fail "the uninstaller left its Start-menu folder"
    [ "$(cd "$dir" 2>/dev/null && find . -mindepth 1)" = ./my-notes.txt ] &&
        pass "the uninstaller removed what it installed and kept the user's own file" ||
        fail "the uninstaller left: $(cd "$dir" 2>/dev/null && find . -mindepth 1 | tr '\n' ' '), not only ./my-notes.txt"
else
    fail "the installer installed no model-railway-panel.exe"
fi

echo
if [ $failures -eq 0 ]; then
    echo "PASS: make windows-check"
else
    echo "FAIL: make windows-check, $failures failure(s)"
fi
[ $failures -eq 0 ]
