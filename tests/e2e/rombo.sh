# shellcheck shell=bash
# Helpers for end-to-end tests of RomboDesktop.exe; source after lib.sh.

ROMBO_EXE="$ROMBO_WIN64_DIR/RomboDesktop.exe"
ROMBO_KEY='HKCU\Software\RomboDesktop'

# rombo_start: starts the program and waits until its message loop runs
# (start-up is over then). Sets ROMBO_PID (Linux pid) and ROMBO_HWND.
rombo_start() {
    [[ -f "$ROMBO_EXE" ]] || e2e_fail "no $ROMBO_EXE (build first)"
    e2e_wine "$ROMBO_EXE"
    ROMBO_PID=$E2E_LAST_PID
    e2e_wait_for 30 e2e_probe find TForm1 wndRomboDesktop || e2e_fail "main window did not appear"
    ROMBO_HWND=$(e2e_probe find TForm1 wndRomboDesktop | head -n1)
    # A sent message is answered only once start-up has finished.
    e2e_probe send "$ROMBO_HWND" 0 0 0 >/dev/null || e2e_fail "main window does not answer"
}

# rombo_visible: 1 while the cube window is shown, else 0.
rombo_visible() {
    e2e_probe list | awk -F'\t' -v h="$ROMBO_HWND" '$1 == h {print $8}'
}

rombo_hidden() { [[ "$(rombo_visible)" == 0 ]]; }

# rombo_left <hwnd>: the window's left edge.
rombo_left() { e2e_probe rect "$1" | cut -f1; }

# rombo_wait_left <hwnd> <left> [timeout]: waits until the window stands there.
rombo_wait_left() {
    e2e_wait_for "${3:-15}" _rombo_left_is "$1" "$2" ||
        e2e_fail "window $1 stands at $(rombo_left "$1"), expected $2"
}
_rombo_left_is() { [[ "$(rombo_left "$1")" == "$2" ]]; }

# rombo_wait_session_end [timeout]: waits until the cube has gone again.
rombo_wait_session_end() {
    e2e_wait_for "${1:-15}" rombo_hidden || e2e_fail "the cube window is still shown"
}

# rombo_key <keys>: a key press delivered to the virtual desktop.
rombo_key() { xdotool key --clearmodifiers "$@"; }

rombo_shown() { [[ "$(rombo_visible)" == 1 ]]; }

# rombo_signal: drops the hook's signal file and waits until it is consumed.
rombo_signal() {
    : >"$E2E_TEMP_UNIX/rombodesktop.hook"
    e2e_wait_for 5 test ! -e "$E2E_TEMP_UNIX/rombodesktop.hook" || e2e_fail "signal file not consumed"
}

# rombo_seed <name> <type> <data>: stores a setting before the program starts.
rombo_seed() {
    e2e_reg_add "$ROMBO_KEY" "$1" "$2" "$3"
}

# rombo_double_hex <float>: the 8 stored bytes of a single-precision number.
rombo_double_hex() {
    python3 -c "import struct,sys; print(struct.pack('<d', struct.unpack('<f', struct.pack('<f', float(sys.argv[1])))[0]).hex())" "$1"
}

# rombo_quit: asks the program to close and waits until it has ended.
rombo_quit() {
    e2e_probe post "$ROMBO_HWND" WM_CLOSE 0 0 >/dev/null
    e2e_wait_for 15 bash -c "! kill -0 $ROMBO_PID 2>/dev/null" || e2e_fail "program did not quit"
}

# rombo_pixel <png> <x> <y>: the pixel's colour as RRGGBB.
rombo_pixel() {
    convert "$1" -format '%[hex:p{'"$2,$3"'}]' info: 2>/dev/null | cut -c1-6
}

# rombo_expect_colour <png> <x> <y> <RRGGBB> <tolerance> [what]: fails unless
# every channel of the pixel is within the tolerance of the colour.
rombo_expect_colour() {
    local got
    got=$(rombo_pixel "$1" "$2" "$3")
    python3 - "$got" "$4" "$5" <<'PY' || e2e_fail "${6:-pixel} at ($2,$3): expected $4, got $got"
import sys
got, want, tolerance = sys.argv[1], sys.argv[2], int(sys.argv[3])
if len(got) != 6: sys.exit(1)
sys.exit(0 if all(abs(int(got[i:i+2], 16) - int(want[i:i+2], 16)) <= tolerance for i in (0, 2, 4)) else 1)
PY
}

# rombo_artifact <file>: keeps a file (a screenshot) beside the test logs.
rombo_artifact() {
    local dir=${ROMBO_ARTIFACTS:-$E2E_REPO_DIR/build/e2e-artifacts}
    mkdir -p "$dir" && cp "$1" "$dir/"
}

# rombo_log: the program's log of survived failures, in the user's local
# application data; empty when it has written none.
rombo_log() {
    local file
    file=$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Local/RomboDesktop/RomboDesktop.log' 2>/dev/null | head -n1)
    [[ -n "$file" ]] && tr -d '\r' <"$file"
    return 0
}

# rombo_end_and_wait <check> <how> <condition>...: ends the program by the
# command <how> while one probe waits for every condition (those of 'probe
# wait': <hwnd>:left=N, <hwnd>:visible=1); fails unless the command <check>
# still holds just before the end and the conditions all hold within 2 s of
# it, and logs how long the last one took.
rombo_end_and_wait() {
    local check=$1 how=$2 out="$E2E_TMP/back.${#E2E_WINE_PIDS[@]}.out" waiter t0 t1
    shift 2
    wine "$ROMBO_PROBE" wait 30000 "$@" >"$out" 2>&1 &
    waiter=$!
    sleep 2  # the probe is polling by then
    if ! kill -0 "$waiter" 2>/dev/null; then
        wait "$waiter"
        e2e_fail "already back before the end (probe exit $?): $(tr -d '\r' <"$out")"
    fi
    eval "$check" || e2e_fail "not so before the end: $check"
    t0=$(_e2e_now_ms)
    eval "$how"
    wait "$waiter" || e2e_fail "not back after the end: $(tr -d '\r' <"$out")"
    t1=$(_e2e_now_ms)
    e2e_log "timing: $((t1 - t0)) ms from the end ($how) to the last window back"
    (( t1 - t0 <= 2000 )) || e2e_fail "windows back only $((t1 - t0)) ms after the end"
}
