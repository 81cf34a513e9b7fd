#!/usr/bin/env bash
# Two monitors, Wine's windows straight on them: with the second one right
# of the primary and then left of it (at negative x), hotkey switches park
# every window of the other desktops off both monitors, by the width of the
# whole virtual screen, and four switches bring all back; a window of the
# desktop shown on the second monitor is activated without turning the cube.
# Then the second monitor changes its mode with windows parked: after the
# change every window is on its desktop, at its place, and four switches
# still bring all back.
# e2e-timeout: 300
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/rombo.sh"

PRIMARY=1024

# on_a_monitor <hwnd>: 0 when the window's rectangle meets a monitor.
on_a_monitor() {
    local l t r b
    read -r l t r b < <(e2e_probe rect "$1")
    awk -v l="$l" -v t="$t" -v r="$r" -v b="$b" '
        $1 == "monitor" && l < $4 && $2 < r && t < $5 && $3 < b { found = 1 }
        END { exit !found }' <<<"$E2E_MONITORS"
}

# parked <hwnd>...: none of them shows on a monitor.
parked() {
    local w
    for w in "$@"; do
        on_a_monitor "$w" && e2e_fail "window $w at $(e2e_probe rect "$w") shows on a monitor"
    done
    return 0
}

# switch <Left|Right>: one hotkey switch, to its end. The session may be
# over before a probe sees the cube, so callers wait for positions.
switch() {
    e2e_probe keys "$1" >/dev/null || e2e_fail "could not send Ctrl+Alt+$1"
    rombo_wait_session_end
}

# at_desktop <home left> <desktop shown> <origin> <span>: where a window of
# desktop 0 stands while that desktop is shown, as the layout wraps it.
at_desktop() {
    local x=$(($1 - $3 - $2 * $4))
    ((x < -$4)) && x=$((x + 4 * $4))
    echo $((x + $3))
}

# scenario <placement> <second monitor's left>: the switches and the follow.
scenario() {
    local second=$2 span origin shown here beside
    e2e_start_monitors "$1"
    span=$(awk '$1 == "virtual" {print $4 - $2}' <<<"$E2E_MONITORS")
    e2e_window 100 120 300 200 "here" --color 2050c0
    here=$E2E_WINDOW_HWND
    e2e_window $((second + 100)) 100 300 200 "beside" --color c05020
    beside=$E2E_WINDOW_HWND
    rombo_start

    origin=$(awk '$1 == "virtual" {print $2}' <<<"$E2E_MONITORS")
    for shown in 1 2 3 0; do
        switch Right
        rombo_wait_left "$here" "$(at_desktop 100 "$shown" "$origin" "$span")"
        rombo_wait_left "$beside" "$(at_desktop $((second + 100)) "$shown" "$origin" "$span")"
        ((shown == 0)) || parked "$here" "$beside"
    done
    # The second monitor's window belongs to the desktop shown.
    e2e_probe activate "$here" >/dev/null
    sleep 0.5
    e2e_probe activate "$beside" >/dev/null
    sleep 1.5
    rombo_hidden || e2e_fail "activating the second monitor's window turned the cube"
    e2e_assert_eq $((second + 100)) "$(rombo_left "$beside")" "the second monitor's window"
    e2e_log "$1: virtual screen $span wide, parked off both monitors, four switches back"
    e2e_stop
}

scenario --right-of "$PRIMARY"
scenario --left-of -800

# A mode change of the second monitor (800x600 -> 640x480) with windows
# parked, on desktop 1.
e2e_start_monitors --right-of
e2e_window 100 120 300 200 "here" --color 2050c0
here=$E2E_WINDOW_HWND
e2e_window 1100 100 300 200 "beside" --color c05020
beside=$E2E_WINDOW_HWND
e2e_window $((1824 + 200)) 100 300 200 "next" --color 20c050
next=$E2E_WINDOW_HWND
rombo_start
switch Right
rombo_wait_left "$next" 200
rombo_wait_left "$beside" $((1100 - 1824))
e2e_probe display-mode 2 640 480 >/dev/null || e2e_fail "the second monitor's mode did not change"
# Wine tells visible windows only; Windows tells hidden top-level ones too.
e2e_probe post "$ROMBO_HWND" 0x7E 24 0 >/dev/null
changed=$(_e2e_now_ms)
E2E_MONITORS=$(e2e_probe monitors)
e2e_assert_match 'virtual	0	0	1664	768' "$E2E_MONITORS" "the virtual screen after the change"
rombo_wait_left "$here" $((100 - 1664))
rombo_wait_left "$beside" $((1100 - 1664))
echo "timing: last change message to the windows re-placed $(($(_e2e_now_ms) - changed)) ms"
e2e_assert_eq 200 "$(rombo_left "$next")" "the window of the desktop shown"
parked "$here" "$beside"
for _ in 1 2 3; do switch Right; done
rombo_wait_left "$here" 100
rombo_wait_left "$beside" 1100
rombo_wait_left "$next" $((200 + 1664))
parked "$next"
exit 0
