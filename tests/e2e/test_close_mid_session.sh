#!/usr/bin/env bash
# A close request while the cube is on the screen (Alt+F4 on the full-screen
# window) ends the program and gives the taskbar back.
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/rombo.sh"

e2e_start 1024x768
e2e_window 100 120 300 200 "one"
one=$E2E_WINDOW_HWND
taskbar=$(e2e_probe find Shell_TrayWnd | head -n1) || e2e_fail "no taskbar in the virtual desktop"
taskbar_visible() { e2e_probe list | awk -F'\t' -v h="$taskbar" '$1 == h {print $8}'; }
e2e_assert_eq 1 "$(taskbar_visible)" "taskbar before"

rombo_start
# Hold the button so the session stays open while we close it.
xdotool mousemove 512 400 mousedown 1
rombo_key ctrl+alt+Right
e2e_wait_for 5 rombo_shown || e2e_fail "no session"
e2e_assert_eq 0 "$(taskbar_visible)" "taskbar during the session"
xdotool key alt+F4
e2e_wait_for 15 bash -c "! kill -0 $ROMBO_PID 2>/dev/null" || e2e_fail "program still runs"
xdotool mouseup 1
e2e_assert_eq 1 "$(taskbar_visible)" "taskbar after closing mid-session"
exit 0
