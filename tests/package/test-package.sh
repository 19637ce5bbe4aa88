#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the Debian package on this machine with apt, checks what it put
# where, runs both programs from where they were installed, and removes the
# package again, whatever happened on the way.
#
# usage: test-package.sh BUILD_DIR PANEL_EXECUTABLE SIMULATOR_EXECUTABLE
# Exit code 77 means skipped (not root, no apt, or the package is already
# installed by someone else).
set -euo pipefail
. "$(dirname "$0")/../../scripts/usage.sh"
offer_help "$@"
need_arguments 3 "$@"

build_dir=$1
built_panel=$2
built_simulator=$3
. "$(dirname "$0")/package-file.sh"

skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*" >&2; exit 1; }
note() { echo "-- $*"; }

[ "$(id -u)" -eq 0 ] \
    || skip "installing the package needs root; run the tests as root (CI does) to include this one"
command -v apt-get >/dev/null && command -v dpkg >/dev/null \
    || skip "apt-get and dpkg are needed: this is not a Debian system"

work=$(mktemp -d "${TMPDIR:-/tmp}/panel-package-test.XXXXXX")
installed=0
pids=()

cleanup() {
    local status=$?
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    if [ "$installed" -eq 1 ]; then
        note "removing $package"
        apt-get purge -y -q -o DPkg::Lock::Timeout=120 "$package" >"$work/remove.log" 2>&1 \
            || dpkg --purge "$package" >>"$work/remove.log" 2>&1 \
            || { cat "$work/remove.log" >&2; status=1; }
        if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q installed; then
            echo "FAIL: $package is still installed after removal" >&2
            status=1
        fi
    fi
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

# One installation at a time on this machine, even across build trees. A
# fresh root may have no /run/lock yet.
mkdir -p /run/lock
exec 9>/run/lock/$package-package-test.lock
flock -w 600 9 || fail "another package test held the lock for ten minutes"

if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
    skip "$package is already installed here; the test would replace and then remove it"
fi
for exe in /usr/bin/model-railway-panel /usr/bin/command-station-simulator; do
    [ ! -e "$exe" ] || skip "$exe exists outside the package manager; the test would overwrite it"
done

deb=$(current_package "$build_dir" "$built_panel" "$built_simulator" "$work") || fail "cpack could not build the package"
note "installing $deb"

installed=1
apt-get install -y -q --no-install-recommends -o DPkg::Lock::Timeout=120 "$deb" >"$work/install.log" 2>&1 \
    || { cat "$work/install.log" >&2; fail "apt-get could not install the package"; }
dpkg-query -W -f='${Status}' "$package" | grep -q "install ok installed" || fail "dpkg does not list $package as installed"

# Dependencies come from the programs' libraries, never from a hand-written list.
depends=$(dpkg-query -W -f='${Depends}' "$package")
for lib in libqt6widgets6 libqt6network6 libqt6svg6 libc6; do
    grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
# The window is laid out for these faces; apt brings them along.
for font in fonts-liberation fonts-dejavu-core; do
    dpkg-query -W -f='${Status}' "$font" 2>/dev/null | grep -q "install ok installed" \
        || fail "$font is not installed alongside the package"
done
fc-match -f '%{family}' "Liberation Sans" | grep -q "Liberation Sans" || fail "fontconfig finds no Liberation Sans"
fc-match -f '%{family}' "DejaVu Sans" | grep -q "DejaVu Sans" || fail "fontconfig finds no DejaVu Sans"

expected=(
    /usr/bin/model-railway-panel
    /usr/bin/command-station-simulator
    /usr/share/applications/$app_id.desktop
    /usr/share/metainfo/$app_id.metainfo.xml
    /usr/share/icons/hicolor/16x16/apps/$app_id.png
    /usr/share/icons/hicolor/32x32/apps/$app_id.png
    /usr/share/icons/hicolor/scalable/apps/$app_id.svg
    /usr/share/man/man1/model-railway-panel.1.gz
    /usr/share/man/man1/command-station-simulator.1.gz
    /usr/share/doc/$package/copyright
    /usr/share/doc/$package/changelog.gz
    /usr/share/doc/$package/README.md
    /usr/share/doc/$package/simulator.md
    /usr/share/doc/$package/example-layout.json
)
for f in "${expected[@]}"; do
    [ -f "$f" ] || fail "$f was not installed"
done
# Nothing else: no headers, static libraries or test programs slip in.
while IFS= read -r f; do
    [ -d "$f" ] && continue
    printf '%s\n' "${expected[@]}" | grep -qxF "$f" || fail "the package installs an unexpected file: $f"
done < <(dpkg -L "$package")

for exe in /usr/bin/model-railway-panel /usr/bin/command-station-simulator; do
    [ -x "$exe" ] || fail "$exe is not executable"
    if ldd "$exe" | grep -q "not found"; then
        ldd "$exe" >&2
        fail "$exe misses a shared library"
    fi
done
[ "$(command -v model-railway-panel)" = /usr/bin/model-railway-panel ] || fail "model-railway-panel is not on PATH"

desktop-file-validate "/usr/share/applications/$app_id.desktop" || fail "the installed menu entry is not valid"
grep -qx "Exec=model-railway-panel" "/usr/share/applications/$app_id.desktop" || fail "the menu entry does not start the panel"
grep -qx "Icon=$app_id" "/usr/share/applications/$app_id.desktop" || fail "the menu entry names another icon"
verdict=$(appstreamcli validate --pedantic --no-net "/usr/share/metainfo/$app_id.metainfo.xml" 2>&1) && status=0 || status=$?
refused=$(appstream_verdict_accepted "$status" "$verdict") || fail "the installed metainfo is not valid: $refused"
for size in 16 32; do
    file -b "/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png" | grep -q "PNG image data, $size x $size" \
        || fail "the ${size}x${size} icon is not a $size x $size PNG"
done
grep -q "<svg" "/usr/share/icons/hicolor/scalable/apps/$app_id.svg" || fail "the scalable icon is not an SVG"

# The panel starts from its installed place and keeps running; it connects to
# nothing until someone presses "Conectar CS".
note "starting the installed panel headless"
QT_QPA_PLATFORM=offscreen /usr/bin/model-railway-panel >"$work/panel.log" 2>&1 &
panel_pid=$!
pids+=("$panel_pid")
sleep 1.5
if ! kill -0 "$panel_pid" 2>/dev/null; then
    wait "$panel_pid" && code=0 || code=$?
    cat "$work/panel.log" >&2
    fail "the installed panel ended on its own with status $code"
fi
kill "$panel_pid"
wait "$panel_pid" 2>/dev/null || true

for page in model-railway-panel command-station-simulator; do
    man -w "$page" 2>/dev/null | grep -qx "/usr/share/man/man1/$page.1.gz" || fail "man does not find $page(1)"
done

note "the installed simulator prints its options"
/usr/bin/command-station-simulator --help >"$work/help.txt" 2>&1 || fail "command-station-simulator --help failed"
for option in --host --port --chunk --close-after --log --layout --burst --version; do
    grep -q -- "$option" "$work/help.txt" || fail "--help does not mention $option"
done
grep -qxF "Its manual: /usr/share/doc/$package/simulator.md" "$work/help.txt" \
    || fail "--help does not name the installed manual"

# Port 0: the simulator takes a free port and names it, so parallel runs never clash.
note "the installed simulator answers on loopback"
/usr/bin/command-station-simulator --host 127.0.0.1 --port 0 >"$work/simulator.log" 2>&1 &
pids+=("$!")
port=
for _ in $(seq 50); do
    port=$(sed -n 's/.*listening on 127\.0\.0\.1 port \([0-9][0-9]*\).*/\1/p' "$work/simulator.log" | head -n 1)
    [ -n "$port" ] && break
    sleep 0.1
done
[ -n "$port" ] || { cat "$work/simulator.log" >&2; fail "the simulator did not say which port it listens on"; }

exec 3<>"/dev/tcp/127.0.0.1/$port" || fail "cannot connect to the simulator on 127.0.0.1 port $port"
printf 'set(1, go)' >&3
reply=()
while IFS= read -r -t 5 line <&3; do
    line=${line%$'\r'}
    reply+=("$line")
    [[ $line == "<END "* ]] && break
done
exec 3<&-
printf '%s\n' "${reply[@]}" >"$work/reply.txt"
[ "${reply[0]:-}" = "<REPLY set(1, go)>" ] || { cat "$work/reply.txt" >&2; fail "the reply does not open with <REPLY set(1, go)>"; }
[ "${reply[-1]:-}" = "<END 0 (OK)>" ] || { cat "$work/reply.txt" >&2; fail "the reply does not end with <END 0 (OK)>"; }
# The console is written in batches a few milliseconds apart.
logged=
for _ in $(seq 50); do
    grep -qF "> set(1, go)" "$work/simulator.log" && logged=1 && break
    sleep 0.1
done
[ -n "$logged" ] || fail "the simulator did not log the command it received"

echo "PASS: $package installs, runs and removes cleanly"
