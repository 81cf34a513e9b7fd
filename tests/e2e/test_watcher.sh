#!/usr/bin/env bash
# Every other ending is caught by the watcher: the program killed from Linux
# (SIGKILL) mid-session with the button held, ended by TerminateProcess with
# a window parked, and killed while the start-up picture has the windows
# hidden. Within two seconds the taskbar is visible and every window stands
# on the screen. A read-only signal file opens at most one session in ten
# seconds, and is logged once.
# e2e-timeout: 240
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/rombo.sh"

W=1024
e2e_start ${W}x768
e2e_window 100 120 300 200 "one"
one=$E2E_WINDOW_HWND
e2e_window 500 300 300 200 "two"
two=$E2E_WINDOW_HWND
taskbar=$(e2e_probe find Shell_TrayWnd | head -n1) || e2e_fail "no taskbar in the virtual desktop"
trap 'xdotool mouseup 1 >/dev/null 2>&1; e2e_stop' EXIT

taskbar_hidden() { [[ "$(e2e_probe list | awk -F'\t' -v h="$taskbar" '$1 == h {print $8}')" == 0 ]]; }

# Killed mid-session, turning from desktop 1 to 2: the cube up, the taskbar
# hidden, desktop 0 parked.
rombo_start
rombo_key ctrl+alt+Right
rombo_wait_left "$one" $((100 - W))
rombo_wait_session_end
xdotool mousemove 512 550 mousedown 1
# Not rombo_key: clearing the modifiers lets go of the button too.
xdotool key ctrl+alt+Right
e2e_wait_for 5 rombo_shown || e2e_fail "no session"
rombo_end_and_wait taskbar_hidden "kill -KILL $ROMBO_PID" "$taskbar:visible=1" "$one:left=100" "$two:left=500"
xdotool mouseup 1

# Ended as End task ends it, with the windows parked.
rombo_start
rombo_key ctrl+alt+Left
rombo_wait_left "$one" $((100 + W))
rombo_wait_session_end
rombo_end_and_wait true "e2e_probe terminate $ROMBO_HWND 1 >/dev/null" "$one:left=100" "$two:left=500"
rombo_log | grep -q 'watcher: the program ended without a clean end' || e2e_fail "the watcher logged nothing: $(rombo_log)"

# Killed while the start-up picture has the windows hidden.
hidden="$E2E_TMP/hidden.out"
wine "$ROMBO_PROBE" wait 30000 "$one:visible=0" "$two:visible=0" >"$hidden" 2>&1 &
waiter=$!
sleep 2
e2e_wine "$ROMBO_EXE"
ROMBO_PID=$E2E_LAST_PID
wait "$waiter" || e2e_fail "the start-up picture hid no window: $(tr -d '\r' <"$hidden")"
# At once: the picture keeps them hidden for half a second only. The probe's
# own start counts against the two seconds here.
kill -KILL "$ROMBO_PID"
e2e_probe wait 2000 "$one:visible=1" "$two:visible=1" || e2e_fail "windows still hidden after the kill"
rombo_log | grep -q ' 2 windows hidden for the start-up picture' ||
    e2e_fail "the watcher did not show the hidden windows: $(rombo_log)"

# A signal file that cannot be removed: no loop of sessions.
signal="$E2E_TEMP_UNIX/rombodesktop.hook"
: >"$signal"
chmod a-w "$signal"
rombo_start
sessions=$(e2e_probe watch 10000 "$ROMBO_HWND" | awk -F'\t' 'NR > 1 {print $2}' | tr -cd 1 | wc -c)
e2e_log "sessions opened by a read-only signal file in 10 s: $sessions"
(( sessions <= 1 )) || e2e_fail "a read-only signal file opened $sessions sessions in 10 s"
e2e_assert_eq 1 "$(rombo_log | grep -c 'signal file not removed')" "log lines for the signal file"
rombo_quit
exit 0
