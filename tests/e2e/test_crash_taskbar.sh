#!/usr/bin/env bash
# A crash during a session gives the taskbar back: a thread started in the
# program from outside executes address 0 while the cube is on the screen
# (left button held); the process must be gone, the taskbar visible, and the
# window parked on another desktop back on the screen (the watcher).
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/rombo.sh"

W=1024
e2e_start ${W}x768
e2e_window 100 120 300 200 "one"
one=$E2E_WINDOW_HWND
taskbar=$(e2e_probe find Shell_TrayWnd | head -n1) || e2e_fail "no taskbar in the virtual desktop"
taskbar_visible() { e2e_probe list | awk -F'\t' -v h="$taskbar" '$1 == h {print $8}'; }
# Wine's crash dialog would hold the dying process until someone answers it.
e2e_reg_add 'HKCU\Software\Wine\WineDbg' ShowCrashDialog REG_DWORD 0

rombo_start
trap 'xdotool mouseup 1 >/dev/null 2>&1; e2e_stop' EXIT
# Park the window on desktop 0 by switching to desktop 1.
rombo_key ctrl+alt+Right
rombo_wait_left "$one" $((100 - W))
rombo_wait_session_end

xdotool mousemove 512 550 mousedown 1
rombo_key ctrl+alt+Left
e2e_wait_for 5 rombo_shown || e2e_fail "no session"
e2e_assert_eq 0 "$(taskbar_visible)" "taskbar during the session"

e2e_probe crash "$ROMBO_HWND" >/dev/null || e2e_fail "could not start the crashing thread"
e2e_wait_for 30 bash -c "! kill -0 $ROMBO_PID 2>/dev/null" || e2e_fail "program still runs after the crash"
e2e_assert_eq 1 "$(taskbar_visible)" "taskbar after the crash"
rombo_wait_left "$one" 100 2
exit 0
