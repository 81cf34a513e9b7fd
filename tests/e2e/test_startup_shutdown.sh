#!/usr/bin/env bash
# Start-up and shutdown as a user sees them: open windows come back after
# the bare-desktop picture, the tray icon and the hotkeys are there, a first
# run writes nothing to the registry, and a close request ends the program
# cleanly, giving the icon and the hotkeys back.
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/rombo.sh"

e2e_start 1024x768
e2e_window 100 120 300 200 "before start" --color 00aa00
before=$E2E_WINDOW_HWND

rombo_start

row=$(e2e_probe list | awk -F'\t' -v h="$before" '$1 == h')
e2e_assert_eq $'100\t120\t400\t320\t1' "$(cut -f4-8 <<<"$row")" "window open before start"
e2e_assert_eq 0 "$(rombo_visible)" "main window visibility"
e2e_assert_eq present "$(e2e_probe tray-has "$ROMBO_HWND" 1)" "tray icon"
e2e_assert_eq $'taken\t1409' "$(e2e_probe hotkey-free 3 0x25)" "ctrl+alt+Left"
e2e_assert_eq $'taken\t1409' "$(e2e_probe hotkey-free 3 0x27)" "ctrl+alt+Right"
e2e_assert_eq free "$(e2e_probe hotkey-free 3 0x26)" "ctrl+alt+Up (not ours)"
wine reg query "$ROMBO_KEY" >/dev/null 2>&1 && e2e_fail "a first run created $ROMBO_KEY"

e2e_probe post "$ROMBO_HWND" WM_CLOSE 0 0 >/dev/null || e2e_fail "could not post WM_CLOSE"
e2e_wait_for 15 bash -c "! kill -0 $ROMBO_PID 2>/dev/null" || e2e_fail "program still runs after close"
wait "$ROMBO_PID"
e2e_assert_eq 0 "$?" "exit code"
e2e_assert_eq absent "$(e2e_probe tray-has "$ROMBO_HWND" 1)" "tray icon after quit"
e2e_assert_eq free "$(e2e_probe hotkey-free 3 0x25)" "ctrl+alt+Left after quit"
e2e_assert_eq free "$(e2e_probe hotkey-free 3 0x27)" "ctrl+alt+Right after quit"
wine reg query "$ROMBO_KEY" >/dev/null 2>&1 && e2e_fail "quitting created $ROMBO_KEY"
# Windows of the one desktop there was stay where they are.
e2e_assert_eq 100 "$(rombo_left "$before")" "window after quit"
exit 0
