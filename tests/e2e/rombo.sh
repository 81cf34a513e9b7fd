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

# rombo_double_hex <float>: the 8 stored bytes of a single-precision setting,
# as reg.exe takes REG_BINARY data.
rombo_double_hex() {
    python3 -c "import struct,sys; print(struct.pack('<d', struct.unpack('<f', struct.pack('<f', float(sys.argv[1])))[0]).hex())" "$1"
}
