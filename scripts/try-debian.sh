#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The README's two commands as a newcomer meets them: a fresh Debian root of
# the given release, made with mmdebstrap from the archive this machine's apt
# uses, a fresh clone of the committed tree (HEAD, not the working tree's
# changes) inside it, and then each command run there as root:
#   run   `make run` under xvfb-run: both windows must appear; the panel is
#         then connected to the simulator and switched on as a person would
#         (xdotool), and ended with "Desconectar CS";
#   test  `make test` as CI runs it: CI=true, no display, no locale;
#   windows-check  `make windows-check`: Qt for Windows built from nothing
#         (no cache in a fresh root, so this times a first run), the Windows
#         build, its installer, and the proof under Wine (on Debian 13 with
#         Wine 10, its tree through UI Automation too).
# Prints how long each step took. Run it after changing what the make
# commands install (scripts/install-deps.sh) or anything that differs
# between releases. It downloads a whole system, so it is no part of .ci/run.
#
# usage: scripts/try-debian.sh [--keep] RELEASE COMMAND...
# RELEASE is a Debian code name (bookworm, trixie); COMMAND is run, test
# or windows-check.
# Needs root, mmdebstrap and a few GB in TRY_DEBIAN_DIR (default /var/tmp).
# The root is deleted at the end unless --keep is given. Everything it mounts
# lives in a mount namespace of its own and is unmounted on any exit.
set -euo pipefail
. "$(dirname "$0")/usage.sh"
offer_help "$@"

keep=
[ "${1:-}" = --keep ] && keep=1 && shift
need_arguments 2 "$@"
release=$1
shift
for command in "$@"; do
    [[ $command =~ ^(run|test|windows-check)$ ]] || refuse "$command is no step of it: run, test or windows-check"
done
[ "$(id -u)" -eq 0 ] || refuse "making a Debian root needs root: run it with sudo"
command -v mmdebstrap >/dev/null || refuse "mmdebstrap is missing: apt-get install mmdebstrap"

# The mounts below stay in this namespace: nothing leaks onto the machine's
# own mount table, even if this script is killed outright.
if [ -z "${TRY_DEBIAN_NAMESPACE:-}" ]; then
    TRY_DEBIAN_NAMESPACE=1 exec unshare --mount --propagation private "$BASH" "$0" ${keep:+--keep} "$release" "$@"
fi

tree=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
head=$(git -C "$tree" rev-parse HEAD)
[ -z "$(git -C "$tree" status --porcelain --untracked-files=no)" ] \
    || echo "note: uncommitted changes are not tried, only HEAD $head"

# The archive this machine's apt reads (one-line or deb822 sources), so the
# root comes from the same mirror; Debian's own when none is configured.
archive_uri() {
    local wanted=$1
    cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources 2>/dev/null \
        | sed -nE 's#^(deb[[:space:]]+(\[[^]]*\][[:space:]]+)?|URIs:[[:space:]]+)([a-z]+://[^[:space:]]+).*#\3#p' \
        | sed 's#/*$##' | grep -E "/$wanted\$" | head -n 1
}
mirror=$(archive_uri debian || true)
security=$(archive_uri debian-security || true)
mirror=${mirror:-http://deb.debian.org/debian}
security=${security:-http://deb.debian.org/debian-security}

parent=$(mktemp -d "${TRY_DEBIAN_DIR:-/var/tmp}/try-debian-$release.XXXXXX")
root=$parent/root
mounts=()
step_pid=

# Ends what still runs inside the root (by its id) and the step that
# started it (mmdebstrap undoes its own work), unmounts in reverse order,
# and removes the root only once nothing is mounted in it.
cleanup() {
    local status=$? proc
    trap - EXIT INT TERM HUP
    for proc in /proc/[0-9]*; do
        [ "$(readlink "$proc/root" 2>/dev/null)" = "$root" ] && kill "${proc#/proc/}" 2>/dev/null
    done
    if [ -n "$step_pid" ] && kill "$step_pid" 2>/dev/null; then
        wait "$step_pid" 2>/dev/null
    fi
    for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
        umount -R "${mounts[i]}" 2>/dev/null || umount -R -l "${mounts[i]}" || true
    done
    if findmnt -rn -o TARGET | awk -v r="$root" '$0 == r || index($0, r "/") == 1 { m = 1 } END { exit !m }'; then
        echo "error: still mounted under $root; left in place" >&2
        status=1
    elif [ -n "$keep" ]; then
        echo "kept the root: $root"
    else
        rm -rf --one-file-system "$parent"
    fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

# Runs a long step so that a signal to this script is handled at once (bash
# holds a trap until a command in the foreground ends, but not a wait).
waiting() {
    "$@" &
    step_pid=$!
    wait "$step_pid"
}
clock() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(clock)" 'BEGIN { t = b - a; printf "%d min %04.1f s", t / 60, t % 60 }'; }
step() { echo "== $release: $*"; }

# A root with apt and make only: everything else must come from the make
# commands themselves. xvfb-run and xdotool watch `make run`, so they come
# along when run is tried.
include=make
[[ " $* " == *" run "* ]] && include+=,xvfb,xauth,xdotool
step "making the root from $mirror (with $include)"
started=$(clock)
waiting mmdebstrap --quiet --variant=apt --include="$include" "$release" "$root" \
    "deb $mirror $release main" "deb $mirror $release-updates main" \
    "deb $security $release-security main" >"$parent/mmdebstrap.log" 2>&1 \
    || { tail -n 30 "$parent/mmdebstrap.log" >&2; echo "error: mmdebstrap failed" >&2; exit 1; }
echo "   root made in $(since "$started")"

mount_in() {
    local target=$root/$1
    shift
    mkdir -p "$target"
    mount "$@" "$target"
    mounts+=("$target")
}
mount_in proc -t proc proc
mount_in sys -t sysfs sysfs
mount_in dev --rbind /dev
mount --make-rslave "$root/dev"
mount_in run -t tmpfs -o mode=755 tmpfs
cp /etc/resolv.conf "$root/etc/resolv.conf"

source=/root/model-railway-panel
git clone -q --no-checkout "$tree" "$root$source"
git -C "$root$source" checkout -q "$head"
step "cloned $head into $source"

# A clean environment, as a login would give: root, no display.
inside() {
    chroot "$root" /usr/bin/env -i HOME=/root TERM="${TERM:-dumb}" \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
}

# Started under xvfb-run inside the root: waits for both windows, connects
# the panel as a person would (the tests' panel driver), switches the power
# on, then ends it with "Desconectar CS".
cat >"$root/root/try-run.sh" <<'EOF'
set -u
cd /root/model-railway-panel
. tests/support/panel-driver.sh
log=/root/make-run.log
make run >"$log" 2>&1 &
make_pid=$!
started=$SECONDS
fail() { echo "FAIL: $*"; echo "--- make run's output:"; tail -n 40 "$log"; kill "$make_pid" 2>/dev/null; exit 1; }
# A condition that holds while make run runs; with make run over, it never will.
while_running() {
    kill -0 "$make_pid" 2>/dev/null || { echo "make run ended early"; return 3; }
    "$@"
}
shown() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
both_windows() { shown "$panel_title" && shown '^Railway of the command station simulator'; }
patience=3600 wait_until while_running both_windows || fail "the panel's and the simulator's windows did not both appear"
echo "   both windows shown $((SECONDS - started)) s after make run started"
patience=20
find_window || fail "the panel's window went away"
xdotool windowraise "$window" windowfocus --sync "$window"
typed_into Txt_IP 127.0.0.1
click Pb_Connect
wait_until while_running grep -q " connected$" "$log" || fail "the panel did not connect to the simulator"
echo "   the panel connected to the simulator"
# "Go" shows once the connect wait is over; pressed until it is there.
press_go() { click Lbl_Go; grep -qF "set(1, go)" "$log"; }
wait_until while_running press_go || fail "\"Go\" sent nothing to the simulator"
echo "   \"Go\" reached the simulator: $(grep -m 1 -A 1 -F "set(1, go)" "$log" | tail -n 1)"
click Pb_Disconnect
patience=10 wait_until eval '! kill -0 "$make_pid" 2>/dev/null' || fail "make run did not end after \"Desconectar CS\""
wait "$make_pid" || fail "make run ended with status $?"
echo "   \"Desconectar CS\" ended make run with status 0"
EOF

status=0
for command in "$@"; do
    started=$(clock)
    case $command in
    run)
        step "make run (under xvfb-run, LANG=C.UTF-8)"
        waiting inside LANG=C.UTF-8 xvfb-run -a -s "-screen 0 1600x1000x24 -nolisten tcp" bash /root/try-run.sh || status=1
        ;;
    test)
        step "make test (as CI: root, CI=true, no display)"
        waiting inside CI=true bash -c "cd $source && make test" || status=1
        ;;
    windows-check)
        step "make windows-check (root, no display: the check starts its own)"
        waiting inside bash -c "cd $source && make windows-check" || status=1
        ;;
    esac
    echo "== $release: make $command $([ $status -eq 0 ] && echo passed || echo FAILED) in $(since "$started")"
    [ $status -eq 0 ] || break
done
exit $status
