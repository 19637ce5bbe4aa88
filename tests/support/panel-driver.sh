# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The panel driven from a shell as a person drives it: sourced, never run,
# by the program test (tests/program/run-program.sh), the Windows check
# (tests/windows/check-windows.sh) and try-debian's `make run`. The one
# place that knows the window's title, where its controls are, how long to
# wait, what a person sees (colours, the clipboard) and what the station
# receives; each script adds rows, not copies.
#
# Uses xdotool, and where a row reads them, pixel-at (tests/program, in
# $pixel_at) and xclip. The caller sets patience (seconds a step may take),
# and for the station's side station_log (every byte it received) and
# station_out (its console).

panel_title='^Central Station$'
: "${patience:=10}"

# Polls a condition (a command) until it holds or `patience` seconds have
# passed. A condition that answers 3 can never hold any more: the wait ends
# there, at once.
wait_until() {
    # Names of its own: a condition sees these locals, and must not set them.
    local wait_until_status now_us limit_us
    printf -v limit_us '%.0f' "${patience}e6"
    limit_us=$((${EPOCHREALTIME//[!0-9]/} + limit_us))
    while true; do
        "$@"
        wait_until_status=$?
        [ $wait_until_status -eq 0 ] && return 0
        [ $wait_until_status -eq 3 ] && return 3
        now_us=${EPOCHREALTIME//[!0-9]/}
        [ "$now_us" -lt "$limit_us" ] || return 1
        sleep 0.05
    done
}

# Every control the scripts reach, and its box in its container, in twips
# from the container's top left, as the window's layout gives it:
# name, container, left, top, width, height.
panel_controls='
Pb_Connect           Main            120   120   1695  375
Txt_IP               Main            1987  120   2295  375
Pb_Disconnect        Main            4455  120   1695  375
Txt_Out              Main            120   600   6030  1095
Frm_Global           Main            6225  120   5700  1575
Pb_Locos_List        Frm_Global      120   450   2085  375
Label2               Frm_Global      2280  450   2985  405
Pb_Switch_List       Frm_Global      120   1005  2085  375
Frm_Loco             Main            75    1830  11865 1950
Pb_Loco_Request      Frm_Loco        135   240   1395  375
Txt_Loco_Ad          Frm_Loco        3030  285   735   285
PB_Loco_Release      Frm_Loco        4530  240   1545  375
Pb_Loco_Back         Frm_Loco        135   690   2175  630
Slider_Loco          Frm_Loco        2460  660   6975  495
Pb_Loco_For          Frm_Loco        9480  690   2175  630
Pb_Function_On       Frm_Loco        3615  1470  1320  315
Txt_Loco_Function    Frm_Loco        5760  1500  735   285
Pb_Function_Off      Frm_Loco        6660  1470  1320  315
Txt_Loco_Speed       Frm_Loco        8580  285   735   285
Frm_Desvios          Main            75    3915  4650  1230
Pb_Switch_Connect    Frm_Desvios     75    240   1395  375
Txt_Switch_Address   Frm_Desvios     2280  285   735   285
Pb_Switch_Disconnect Frm_Desvios     3105  240   1395  375
Pb_Switch_On         Frm_Desvios     450   780   555   315
Txt_Switch_Status    Frm_Desvios     2445  810   735   285
Pb_Switch_Off        Frm_Desvios     3420  780   555   315
Frm_S88              Main            4800  3915  7215  1230
Frm_MandarOrden      Main            75    5250  11820 765
Txt_CommandLine      Frm_MandarOrden 135   315   10545 300
Pb_Command_Line      Frm_MandarOrden 10770 300   975   330
Sh_Stop              Main            135   6135  2625  495
Sh_Go                Main            9255  6135  2625  495
Lbl_Go               Main            9240  6180  2685  405
Lbl_Stop             Main            105   6195  2685  405
'
# The S88 grid, a column a line: i, left of Sh_Kred(i), left and top of
# Sh_Kgreen(i), left of Lbl_Kb(i) and of Lbl_Kb(16 + i).
s88_columns='
1 1440 1425 645 1350 1365
2 2025 2010 645 1935 1950
3 2610 2625 645 2535 2535
4 3195 3210 645 3120 3120
5 3780 3795 660 3705 3705
6 4365 4365 660 4290 4290
7 4950 4965 645 4890 4875
8 5535 5550 660 5475 5460
'
while read -r i red green green_top plate lower_plate; do
    [ -n "$i" ] || continue
    panel_controls+="Sh_Kred($i) Frm_S88 $red 165 285 195
Sh_Kgreen($i) Frm_S88 $green $green_top 285 195
Lbl_Kb($i) Frm_S88 $plate 390 435 210
Lbl_Kb($((16 + i))) Frm_S88 $lower_plate 885 435 210
"
done <<<"$s88_columns"

# The window, once shown: its id and its client area on the screen. A new
# window has shown no lamps yet.
window= X= Y= WIDTH= HEIGHT=
find_window() {
    shown_lamps=()
    window=$(timeout "$patience" xdotool search --sync --onlyvisible --name "$panel_title" 2>/dev/null | head -n 1)
    [ -n "$window" ] || return 1
    eval "$(xdotool getwindowgeometry --shell "$window")"
}

# at NAME [DX DY]: where the control's centre, or the point DX, DY twips
# from its top left (from its bottom right where negative), is on the
# screen: 12030 twips span the client area.
# at_each: the same for each line "NAME DX DY" of its input ("-" for the centre).
at_each() {
    awk -v left="$X" -v top="$Y" -v width="$WIDTH" '
        FILENAME == "-" { point[++n] = $0; next }
        NF == 6 { within[$1] = $2; l[$1] = $3; t[$1] = $4; w[$1] = $5; h[$1] = $6 }
        END {
            for (i = 1; i <= n; i++) {
                split(point[i], p, " ")
                if (!(p[1] in l)) { print "no control " p[1] > "/dev/stderr"; exit 1 }
                x = p[2] == "" || p[2] == "-" ? w[p[1]] / 2 : p[2] ~ /^-/ ? w[p[1]] + p[2] : p[2]
                y = p[3] == "" || p[3] == "-" ? h[p[1]] / 2 : p[3] ~ /^-/ ? h[p[1]] + p[3] : p[3]
                for (c = p[1]; c != "Main"; c = within[c]) { x += l[c]; y += t[c] }
                printf "%d %d\n", left + int(x * width / 12030 + 0.5), top + int(y * width / 12030 + 0.5)
            }
        }' - <(echo "$panel_controls")
}
at() { echo "$*" | at_each; }

# The pointer moved there first (xdotool's --sync waits for a move, so not
# when it is there already), then the left button.
click() {
    local point
    point=$(at "$@")
    [ "$(xdotool getmouselocation | cut -d ' ' -f 1,2)" = "x:${point% *} y:${point#* }" ] ||
        xdotool mousemove --sync $point
    xdotool click 1
}
# A field's whole text replaced by hand: clicked, Ctrl+A, typed.
typed_into() {
    click "$1"
    xdotool key ctrl+a
    xdotool type --delay 20 "$2"
}

# colours_are: each argument "NAME DX DY RRGGBB" (DX DY "-" for the
# centre); true when the screen shows every colour, all read at once. What
# differs is left in wrong_colours. With previous_colours (one a point)
# set, a point that shows neither its colour nor its previous one answers
# 3: it will not come right by waiting.
wrong_colours=
previous_colours=()
colours_are() {
    local seen i spec want status=0
    mapfile -t seen < <("$pixel_at" $(printf '%s\n' "$@" | at_each) 2>/dev/null)
    wrong_colours=
    for ((i = 0; i < $#; i++)); do
        spec=${*:i+1:1}
        want=${spec##* }
        [ "${seen[i]-}" = "$want" ] && continue
        [ ${#wrong_colours} -gt 300 ] || wrong_colours+=" ${spec% *} shows ${seen[i]-nothing}, not $want;"
        if [ -n "${previous_colours[i]-}" ] && [ "${seen[i]-}" != "${previous_colours[i]}" ]; then
            status=3
        elif [ $status -eq 0 ]; then
            status=1
        fi
    done
    return $status
}
colour_of() { "$pixel_at" $(at "$@") 2>/dev/null; }

# text_of NAME: the control's whole text as a person copies it (a click,
# Ctrl+A, Ctrl+C), read from the clipboard, emptied first; "-" copies from
# whatever has the keyboard.
clipboard_filled() { [ -n "$(xclip -selection clipboard -o 2>/dev/null)" ]; }
text_of() {
    xclip -selection clipboard -i </dev/null
    [ "$1" = - ] || click "$1"
    xdotool key ctrl+a ctrl+c
    wait_until clipboard_filled && xclip -selection clipboard -o
}

# Everything the station must have received so far, in order; and what it
# had received when the row began.
transcript= sent_before=
# True once the station has received exactly the transcript; a byte that
# differs from it answers 3 at once.
received_all() {
    local log
    log=$(cat "$station_log" 2>/dev/null)
    [ "$log" = "$transcript" ] && return 0
    [[ $transcript == "$log"* ]] || { echo "the station received \"${log:${#sent_before}}\", not \"${transcript:${#sent_before}}\""; return 3; }
    return 1
}
expect_sent() {
    transcript+=$1
    wait_until received_all
    case $? in
    0) return 0 ;;
    3) return 1 ;;
    *) echo "the station did not receive \"${transcript:${#sent_before}}\""; return 1 ;;
    esac
}

# --- Rows: each checks one thing and says why when it fails ---------------

# run_rows ROW...: runs each row (a command line) in turn; counts in
# failures the rows that fail, and with stop_at_failure set stops at the
# first. What the station received is what each row starts from.
failures=0
run_rows() {
    local row
    for row in "$@"; do
        sent_before=$(cat "$station_log" 2>/dev/null)
        transcript=$sent_before
        if eval "$row"; then
            echo "PASS: ${row_prefix-}$row"
        else
            echo "FAIL: ${row_prefix-}$row"
            failures=$((failures + 1))
            [ -z "${stop_at_failure-}" ] || return 1
        fi
    done
}

# The lamps, by their fill (the power labels stand on them, their text in
# the middle) and border, and the S88 grid: its indicators and the ground of
# their number plates, the same in every state. One "NAME DX DY RRGGBB" a line.
lamp_colours() {
    printf '%s\n' "Sh_Go 300 247 $1" "Sh_Go 8 8 ${3:-00ff00}" "Sh_Stop 300 247 $2" "Sh_Stop 8 8 ${4:-ff0000}"
}
grid_colours() {
    local i
    for i in 1 2 3 4 5 6 7 8; do
        printf '%s\n' "Sh_Kred($i) 8 8 ff0000" "Sh_Kred($i) - - 800000" "Sh_Kgreen($i) 8 8 00ff00" \
            "Sh_Kgreen($i) - - 008000" "Lbl_Kb($i) 8 8 000000" "Lbl_Kb($((16 + i))) 8 8 000000"
    done
}
# panel_shows STATE: the lamps as STATE has them, to the pixel, then the
# grid. Each lamp point shows its colour of the state before until the
# window paints again; a colour of neither fails at once, and so does the
# grid, which no state changes.
shown_lamps=()
panel_shows() {
    local lamps ground status
    case $1 in
    start-up) # the lamps hidden: the window's ground, as under the output box
        ground=$(colour_of Txt_Out 60 1155)
        mapfile -t lamps < <(lamp_colours "$ground" "$ground" "$ground" "$ground")
        shown_lamps=() ;;
    connected) mapfile -t lamps < <(lamp_colours 008000 800000) ;;
    power-on) mapfile -t lamps < <(lamp_colours 00ff00 800000) ;;
    power-off) mapfile -t lamps < <(lamp_colours 008000 ff0000) ;;
    esac
    previous_colours=("${shown_lamps[@]}")
    wait_until colours_are "${lamps[@]}"
    status=$?
    previous_colours=()
    shown_lamps=("${lamps[@]##* }")
    [ $status -eq 0 ] || { echo "in the $1 state:$wrong_colours"; return 1; }
    mapfile -t lamps < <(grid_colours)
    colours_are "${lamps[@]}" || { echo "in the $1 state:$wrong_colours"; return 1; }
}

# The window painted: the address field's white ground left of its centred
# text.
window_painted() { colours_are "Txt_IP 113 187 ffffff"; }

# The window as it opens: painted, lamps hidden.
row_opened() {
    wait_until window_painted || { echo "the window was never painted"; return 1; }
    panel_shows start-up
}

# Connects to the station on 127.0.0.1: the power controls show, both lamps dark.
row_connect() {
    local before
    before=$(grep -c ' connected' "$station_out")
    typed_into Txt_IP 127.0.0.1
    click Pb_Connect
    wait_until eval '[ "$(grep -c " connected" "$station_out")" -gt "$before" ]' || { echo "the panel never connected"; return 1; }
    panel_shows connected
}

# row_power go|stop: the power switched by its label; the lamps follow.
row_power() {
    if [ "$1" = go ]; then
        click Lbl_Go
        expect_sent "set(1, go)" && panel_shows power-on
    else
        click Lbl_Stop
        expect_sent "set(1, stop)" && panel_shows power-off
    fi
}

# Locomotive 1001 taken; Tab from the request button past the release
# button to the slider, three small steps right and one large one; its
# function 3 switched on.
row_drive() {
    typed_into Txt_Loco_Ad 1001
    click Pb_Loco_Request
    expect_sent "request(1001, control)" || return 1
    xdotool key Tab Tab Right
    expect_sent "set(1001, speed[1])" || return 1
    xdotool key Right Right Prior
    expect_sent "set(1001, speed[2])set(1001, speed[3])set(1001, speed[8])" || return 1
    typed_into Txt_Loco_Function 3
    click Pb_Function_On
    expect_sent "set(1001, func[3, 1])"
}

# row_output_box COMMAND REPLY: the command sent from the command line; the
# output box then holds exactly the station's reply, as soon as it changes.
row_output_box() {
    local before shown
    before=$(text_of Txt_Out; echo .)
    typed_into Txt_CommandLine "$1"
    click Pb_Command_Line
    expect_sent "$1" || return 1
    wait_until eval 'shown=$(text_of Txt_Out; echo .); [ "$shown" != "$before" ]'
    [ "${shown%.}" = "$2" ] || { echo "the output box shows \"${shown%.}\", not \"$2\""; return 1; }
}

# "Desconectar CS" ends the program, with exit code 0 (its id in panel_pid).
row_disconnect() {
    click Pb_Disconnect
    wait_until eval '! kill -0 $panel_pid 2>/dev/null' || { echo "the panel did not end"; return 1; }
    wait "$panel_pid"
    local status=$?
    [ $status -eq 0 ] || { echo "the panel ended with exit code $status"; return 1; }
}
