#!/usr/bin/env bash
# The mouse hook runs on a thread of its own: with the program's GUI thread
# suspended from outside, the pointer does not stall and the Ctrl+Alt gesture
# still drops the signal file; once the GUI thread runs again the session
# opens. Quitting then ends the process promptly with exit code 0, so no
# thread of the library is left running.
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/rombo.sh"

SIGNAL="rombodesktop.hook"
# A hook the system has to wait for costs its whole timeout per mouse event
# (two seconds under Wine); a free-running one answers at once.
STALL_LIMIT_MS=250

e2e_start 1024x768
e2e_window 100 120 300 200 "one"
rombo_start
release() { xdotool mouseup 1 keyup ctrl alt >/dev/null 2>&1 || true; }
resume() { e2e_probe resume "$ROMBO_HWND" >/dev/null 2>&1 || true; }
trap 'resume; release; e2e_stop' EXIT

# mouse_lag X Y: milliseconds until an input-path move to X,Y shows in the cursor.
mouse_lag() { e2e_probe mouse-move "$1" "$2" || echo 99999; }
expect_no_stall() {  # what X Y
    local lag
    lag=$(mouse_lag "$2" "$3")
    e2e_log "$1: pointer followed in ${lag} ms"
    ((lag < STALL_LIMIT_MS)) || e2e_fail "$1: the pointer stalled for ${lag} ms"
}

expect_no_stall "program idle" 300 500
e2e_probe suspend "$ROMBO_HWND" >/dev/null || e2e_fail "could not suspend the GUI thread"
for x in 400 500 600; do
    expect_no_stall "GUI thread suspended" "$x" 500
done

rm -f "$E2E_TEMP_UNIX/$SIGNAL"
xdotool keydown ctrl alt mousedown 1
e2e_wait_for 10 test -e "$E2E_TEMP_UNIX/$SIGNAL" ||
    e2e_fail "the gesture wrote no signal file while the GUI thread was suspended"
xdotool keyup ctrl alt
expect_no_stall "button held, GUI thread suspended" 650 500
rombo_hidden || e2e_fail "a session opened while the GUI thread was suspended"

e2e_probe resume "$ROMBO_HWND" >/dev/null || e2e_fail "could not resume the GUI thread"
e2e_wait_for 10 rombo_shown || e2e_fail "no session after resuming"
[[ -e "$E2E_TEMP_UNIX/$SIGNAL" ]] && e2e_fail "signal file not consumed"
xdotool mouseup 1
rombo_wait_session_end

t0=$(date +%s%N)
e2e_probe post "$ROMBO_HWND" WM_CLOSE 0 0 >/dev/null || e2e_fail "could not post WM_CLOSE"
e2e_wait_for 5 bash -c "! kill -0 $ROMBO_PID 2>/dev/null" || e2e_fail "program still runs 5 s after quit"
wait "$ROMBO_PID"
e2e_assert_eq 0 "$?" "exit code"
e2e_log "quit took $(( ($(date +%s%N) - t0) / 1000000 )) ms"
exit 0
