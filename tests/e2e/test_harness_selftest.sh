#!/usr/bin/env bash
# The harness itself: desktop up at the asked size, probe windows where they
# were put, off-screen moves read back, hotkeys free in a fresh prefix, tray
# icons seen and gone, clean stop.
set -u
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

e2e_start 1024x768

e2e_assert_eq $'1024\t768' "$(e2e_probe screen)" "screen size"
[[ -d "$E2E_TEMP_UNIX" ]] || e2e_fail "E2E_TEMP_UNIX $E2E_TEMP_UNIX is not a directory"
[[ "$E2E_TEMP_UNIX" == "$WINEPREFIX"/* ]] || e2e_fail "E2E_TEMP_UNIX $E2E_TEMP_UNIX is outside the prefix"
xwininfo -id "$E2E_DESKTOP_XID" | grep -q 'Width: 1024' || e2e_fail "desktop X window is not 1024 wide"
# the harness turns Wine's taskbar on: a visible strip along the bottom
tray=$(e2e_probe tray | head -n1) || e2e_fail "no Shell_TrayWnd"
e2e_assert_eq $'Shell_TrayWnd\t\t0\t748\t1024\t768\t1' "$(cut -f2-8 <<<"$tray")" "taskbar"

e2e_window 100 120 300 200 "probe one" --color ff0000
one=$E2E_WINDOW_HWND
e2e_window 500 300 240 160 "probe two" --toolwindow --tray
two=$E2E_WINDOW_HWND
[[ "$one" != "$two" ]] || e2e_fail "both probe windows have handle $one"

list=$(e2e_probe list) || e2e_fail "probe list failed"
row_one=$(awk -F'\t' -v h="$one" '$1 == h' <<<"$list")
row_two=$(awk -F'\t' -v h="$two" '$1 == h' <<<"$list")
e2e_assert_eq $'RomboProbeWindow\tprobe one\t100\t120\t400\t320\t1' "$(cut -f2-8 <<<"$row_one")" "list row of probe one"
e2e_assert_eq $'RomboProbeWindow\tprobe two\t500\t300\t740\t460\t1' "$(cut -f2-8 <<<"$row_two")" "list row of probe two"
# WS_EX_TOOLWINDOW is 0x80
(( $(cut -f9 <<<"$row_two") & 0x80 )) || e2e_fail "probe two lacks WS_EX_TOOLWINDOW: $row_two"

e2e_assert_eq "$one" "$(e2e_probe find RomboProbeWindow 'probe one')" "find by class and title"
e2e_assert_eq "$two" "$(e2e_probe find - 'probe t*')" "find by title pattern"
e2e_probe find NoSuchClass >/dev/null && e2e_fail "find of a missing class succeeded"

# the screenshot shows probe one's red fill where it was placed
e2e_screenshot "$E2E_TMP/shot.png"
pixel=$(convert "$E2E_TMP/shot.png" -format '%[hex:u.p{250,250}]' info:)
e2e_assert_eq FF0000 "${pixel:0:6}" "pixel inside probe one"

e2e_assert_eq $'-924\t120\t-624\t320' "$(e2e_probe move "$one" -924 120)" "move read-back"
e2e_assert_eq $'-924\t120\t-624\t320' "$(e2e_probe rect "$one")" "rect after move"
e2e_assert_eq $'2048\t300\t2288\t460' "$(e2e_probe move "$two" 2048 300)" "move right of the screen"

e2e_assert_eq free "$(e2e_probe hotkey-free 3 0x27)" "ctrl+alt+Right"

e2e_probe activate "$one" >/dev/null || e2e_fail "could not activate probe one"
e2e_assert_eq "$one" "$(e2e_probe foreground | cut -f1)" "foreground window"

e2e_assert_eq present "$(e2e_probe tray-has "$two" 1)" "tray icon of probe two"
e2e_assert_eq absent "$(e2e_probe tray-has "$one" 1)" "tray icon of probe one"
e2e_probe post "$two" WM_CLOSE 0 0 || e2e_fail "post WM_CLOSE failed"
window_gone() { ! e2e_probe rect "$1" >/dev/null 2>&1; }
icon_gone() { [[ "$(e2e_probe tray-has "$1" 1)" == absent ]]; }
e2e_wait_for 10 window_gone "$two" || e2e_fail "probe two did not close"
e2e_wait_for 10 icon_gone "$two" || e2e_fail "tray icon of probe two stayed after its window closed"

# an unknown command exits 2 and lists every command with its arguments
listing=$(e2e_probe no-such-command 2>&1)
e2e_assert_eq 2 "$?" "exit status of an unknown command"
grep -q '^  probe wait <ms> <cond>\.\.\.' <<<"$listing" || e2e_fail "no usage list: $listing"

e2e_log "selftest ok (start took ${E2E_START_MS} ms)"
