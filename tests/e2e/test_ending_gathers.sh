#!/usr/bin/env bash
# Quit and the end of the user's session bring every window home: with
# windows on all four desktops and desktop 2 shown, a close request leaves
# every window on the screen where it stands on its own desktop, and the
# program ends with exit code 0; so do WM_QUERYENDSESSION and WM_ENDSESSION.
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/rombo.sh"

W=1024
e2e_start ${W}x768
# One window per desktop, desktop d's parked d widths to the right.
homes=(100 200 300 400)
windows=()
for d in 0 1 2 3; do
    e2e_window $((d * W + homes[d])) 120 250 200 "desktop $d"
    windows+=("$E2E_WINDOW_HWND")
done
all_home() {
    local d conditions=()
    for d in 0 1 2 3; do conditions+=("${windows[d]}:left=${homes[d]}"); done
    e2e_probe wait "$1" "${conditions[@]}"
}

rombo_start
for _ in 1 2; do
    rombo_key ctrl+alt+Right
    rombo_wait_session_end
done
# Desktop 2 shown: its window home, desktop 0's two widths away.
rombo_wait_left "${windows[2]}" 300
rombo_wait_left "${windows[0]}" $((2 * W + 100))
rombo_quit
wait "$ROMBO_PID"
e2e_assert_eq 0 "$?" "exit code after Quit"
all_home 3000 || e2e_fail "a window stays parked after Quit"

# The end of the session, from desktop 1: the query gathers, the end ends.
rombo_start
rombo_key ctrl+alt+Right
rombo_wait_session_end
# Every window stood on the screen at this start: all are desktop 0's now.
rombo_wait_left "${windows[0]}" $((100 - W))
e2e_assert_eq 1 "$(e2e_probe send "$ROMBO_HWND" WM_QUERYENDSESSION 0 0)" "answer to the query"
all_home 3000 || e2e_fail "a window stays parked after WM_QUERYENDSESSION"
e2e_probe post "$ROMBO_HWND" WM_ENDSESSION 1 0 >/dev/null
e2e_wait_for 5 bash -c "! kill -0 $ROMBO_PID 2>/dev/null" || e2e_fail "program still runs after WM_ENDSESSION"
wait "$ROMBO_PID"
e2e_assert_eq 0 "$?" "exit code after WM_ENDSESSION"
all_home 1000 || e2e_fail "a window moved after WM_ENDSESSION"
exit 0
