#!/usr/bin/env bash
# A slow disk does not stall the mouse. Every write of the signal file takes
# three seconds here (slow_write.c, preloaded into the program), as a slow
# disk or a virus scanner holding the new file make it. After the Ctrl+Alt
# gesture, while the file is still being written, the pointer follows at
# once; once the file is there the session opens as usual.
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/rombo.sh"

SIGNAL="rombodesktop.hook"
SLOW_WRITE_MS=3000
# A hook that the system has to wait for costs its whole timeout per mouse
# event (two seconds under Wine); a free-running one answers at once.
STALL_LIMIT_MS=250

e2e_start 1024x768
e2e_window 100 120 300 200 "one"
shim=$E2E_TMP/slow_write.so
gcc -shared -fPIC -O2 -o "$shim" "$(dirname "$0")/slow_write.c" -ldl || e2e_fail "cannot build slow_write.so"
export LD_PRELOAD=$shim ROMBO_SLOW_WRITE_MATCH=$SIGNAL ROMBO_SLOW_WRITE_MS=$SLOW_WRITE_MS
rombo_start
unset LD_PRELOAD ROMBO_SLOW_WRITE_MATCH ROMBO_SLOW_WRITE_MS
release() { xdotool mouseup 1 keyup ctrl alt >/dev/null 2>&1 || true; }
trap 'release; e2e_stop' EXIT

rm -f "$E2E_TEMP_UNIX/$SIGNAL"
xdotool mousemove 500 500 keydown ctrl alt mousedown 1
# The writer needs a moment to reach the slow write.
sleep 0.3
lag=$(e2e_probe mouse-move 650 500) || lag=99999
[[ -e "$E2E_TEMP_UNIX/$SIGNAL" ]] && e2e_fail "the signal file was written at once; the disk was not slow"
e2e_log "timing: the pointer followed in ${lag} ms while the signal file was being written"
((lag < STALL_LIMIT_MS)) || e2e_fail "the pointer stalled for ${lag} ms behind a slow write of the signal file"
xdotool keyup ctrl alt
e2e_wait_for 10 rombo_shown || e2e_fail "no session once the signal file was written"
xdotool mouseup 1
rombo_wait_session_end
rombo_quit
exit 0
