# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Sourced by the project's scripts, so that each meets a person who runs it
# by hand alike: --help prints the comment at the script's top, and a
# missing argument or tool stops it with one line that says what to do,
# with exit status 2.
#
#   offer_help "$@"               -h or --help among the arguments: the help, exit 0
#   need_arguments N "$@"         fewer than N arguments: the script's usage line
#   need_tools COMMAND TOOL...    a tool missing: the make command that installs it
#   refuse "what to do"           any other wrong use

script_name=${0#"$PWD"/}

# The script's own header: its comment lines from the second line to its
# first command, without the licence tags.
script_help() {
    sed -n '2,/^[^#]/{/^#/s/^# \{0,1\}//p}' "$0" | sed '/^SPDX-/d' | sed '/./,$!d'
}

offer_help() {
    local argument
    for argument in "$@"; do
        case $argument in
        -h | --help) script_help; exit 0 ;;
        esac
    done
}

refuse() {
    echo "$script_name: $*" >&2
    exit 2
}

need_arguments() {
    local wanted=$1
    shift
    [ $# -ge "$wanted" ] && return
    refuse "missing arguments: usage: $(sed -n 's/^# usage: *//p' "$0" | head -n 1) ($script_name --help says more)"
}

need_tools() {
    local command=$1 tool
    shift
    for tool in "$@"; do
        command -v "$tool" >/dev/null ||
            refuse "$tool is missing: scripts/install-deps.sh $command installs it (make $command does so first)"
    done
}
