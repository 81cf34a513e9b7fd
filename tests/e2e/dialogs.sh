# shellcheck shell=bash
# Helpers for the end-to-end tests of the tray menu and the dialogs; source
# after lib.sh and rombo.sh.

# The dialogs' control identifiers (ID_OK, ID_LANGUAGE, ...) and the tray
# icon's message (TRAY_CALLBACK), as the build read them in the program's
# headers (tests/e2e/control_ids.cpp).
control_ids=$ROMBO_TEST_BIN_DIR/tests/e2e/control_ids.sh
[[ -f "$control_ids" ]] || e2e_fail "no $control_ids (build first: scripts/build win64)"
# shellcheck source=/dev/null
. "$control_ids"

# Window styles read from outside.
WS_DISABLED=0x08000000
WS_EX_TOPMOST=0x8

# Window messages the tests send to controls.
TBM_GETPOS=0x400
TBM_SETPOS=0x405
BM_GETCHECK=0xF0
BM_CLICK=0xF5
CB_SETCURSEL=0x14E
SC_CLOSE=0xF060
WM_MOUSEMOVE=0x200
WM_LBUTTONDBLCLK=0x203
WM_RBUTTONUP=0x205

# dialogs_private_copy: runs the program from a copy of the shipped files in
# the test's own directory, so a test can change the language files beside
# it. Sets APP_DIR (Unix path) and ROMBO_EXE.
dialogs_private_copy() {
    APP_DIR=$E2E_TMP/app
    mkdir -p "$APP_DIR"
    cp "$ROMBO_WIN64_DIR"/* "$APP_DIR/"
    ROMBO_EXE=$APP_DIR/RomboDesktop.exe
}

# tray_icon_point: where our notification icon is drawn: the only icon, at
# the right end of the taskbar.
tray_icon_point() {
    local w= h= tries
    # The probe can come back empty while Wine is busy; ask again, bounded.
    for ((tries = 0; tries < 5; tries++)); do
        read -r w h < <(e2e_probe screen)
        [[ "$w" =~ ^[0-9]+$ && "$h" =~ ^[0-9]+$ ]] && break
        sleep 0.2
    done
    [[ "$w" =~ ^[0-9]+$ && "$h" =~ ^[0-9]+$ ]] || e2e_fail "the screen size could not be read"
    echo "$((w - 11)) $((h - 11))"
}

tray_right_click() {
    local x y
    read -r x y < <(tray_icon_point)
    xdotool mousemove "$x" "$y" sleep 0.2 click 3
}

tray_double_click() {
    local x y
    read -r x y < <(tray_icon_point)
    xdotool mousemove "$x" "$y" sleep 0.2 click --repeat 2 --delay 80 1
}

# tray_notify <mouse message>: a notification as the icon sends it.
tray_notify() { e2e_probe post "$ROMBO_HWND" "$TRAY_CALLBACK" 1 "$1" >/dev/null; }

# dialog_with <control id>: the visible dialog that has that control.
dialog_with() {
    local h
    for h in $(e2e_probe find '#32770' - --visible); do
        e2e_probe child "$h" "$1" >/dev/null 2>&1 && { echo "$h"; return 0; }
    done
    return 1
}
settings_dialog() { dialog_with "$ID_LANGUAGE"; }
about_dialog() { dialog_with "$ID_ABOUT_VERSION"; }
settings_closed() { ! settings_dialog >/dev/null 2>&1; }
about_closed() { ! about_dialog >/dev/null 2>&1; }
menu_closed() { ! e2e_probe menu 0 >/dev/null 2>&1; }

# window_styles <hwnd>: the window's extended style and style.
window_styles() { e2e_probe list | awk -F'\t' -v h="$1" '$1 == h {print $9, $11}'; }

# expect_not_topmost <hwnd> <what>: fails if the window stays above other
# programs' windows.
expect_not_topmost() {
    local ex st
    read -r ex st < <(window_styles "$1")
    [[ -n "$ex" ]] || e2e_fail "$2: no window $1"
    ((ex & WS_EX_TOPMOST)) && e2e_fail "$2 is topmost (extended style $ex)"
    return 0
}

# window_enabled <hwnd>: 1 if the window takes input, 0 if it is disabled.
window_enabled() {
    local ex st
    read -r ex st < <(window_styles "$1")
    [[ -n "$st" ]] || e2e_fail "no window $1"
    ((st & WS_DISABLED)) && echo 0 || echo 1
}

# foreground_is <hwnd>: the window is the active one.
foreground_is() { [[ "$(e2e_probe foreground | cut -f1)" == "$1" ]]; }

# ctl <dialog> <id>: the control's window.
ctl() { e2e_probe child "$1" "$2"; }
# ctl_send <dialog> <id> <msg> <wparam> <lparam>: the control's answer.
ctl_send() { e2e_probe send "$(ctl "$1" "$2")" "$3" "$4" "$5"; }
# ctl_text <dialog> <id>: the control's text.
ctl_text() { e2e_probe text "$(ctl "$1" "$2")" | head -n1; }

# open_settings: a double click on the icon; waits for the dialog. Sets DLG.
open_settings() {
    tray_double_click
    e2e_wait_for 10 settings_dialog || e2e_fail "no settings dialog after a double click"
    DLG=$(settings_dialog)
}

# menu_items: the open tray menu's items, "index text flags" per line.
menu_items() {
    local items
    items=$(e2e_probe menu 5000) || return 1
    cut -f1-3 <<<"$items"
}

# menu_click <index>: a click on that item of the open menu.
menu_click() {
    local l t r b
    read -r l t r b < <(e2e_probe menu 5000 | awk -F'\t' -v i="$1" '$1 == i {print $4, $5, $6, $7}')
    [[ -n "$b" ]] || e2e_fail "no menu item $1 to click"
    xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) sleep 0.2 click 1
}

# stored_number <float>: the 8 bytes stored for a setting, as reg shows them.
stored_number() {
    python3 -c 'import struct,sys; f=struct.unpack("<f", struct.pack("<f", float(sys.argv[1])))[0]; print(struct.pack("<d", f).hex().upper())' "$1"
}

# wait_exit <pid> <timeout>: waits until the process has ended.
wait_exit() { e2e_wait_for "$2" bash -c "! kill -0 $1 2>/dev/null"; }
