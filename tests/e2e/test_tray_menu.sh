#!/usr/bin/env bash
# The tray icon as a user meets it: a real right click opens the menu
# (Settings in bold as the default, About, a separator, Quit), a click
# elsewhere closes it, About opens (not on top of other programs) and
# closes, About over the settings dialog leaves that one without input until
# it closes, the icon comes back when the shell restarts, and Quit ends the
# program with code 0, even with the settings dialog open.
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/rombo.sh"
. "$(dirname "$0")/dialogs.sh"

e2e_start 1024x768
rombo_start

expected_menu=$'0\t&Settings\tdefault\n1\t&About...\t\n2\t\tseparator,disabled\n3\t&Quit\t'
tray_right_click
items=$(menu_items) || e2e_fail "no menu after a right click on the icon"
e2e_assert_eq "$expected_menu" "$items" "tray menu"
e2e_screenshot "$E2E_TMP/menu.png"

# A click elsewhere closes the menu and runs nothing.
xdotool mousemove 400 300 click 1
e2e_wait_for 5 menu_closed || e2e_fail "the menu stays open after a click elsewhere"
[[ -z "$(dialog_with "$ID_OK" 2>/dev/null)" ]] || e2e_fail "a click elsewhere opened a dialog"

# About.
tray_right_click
menu_items >/dev/null || e2e_fail "no menu for About"
menu_click 1
e2e_wait_for 10 about_dialog || e2e_fail "About did not open"
about=$(about_dialog)
e2e_assert_eq "About..." "$(e2e_probe text "$about" | head -n1)" "about title"
e2e_assert_eq "Rombo Desktop" "$(ctl_text "$about" "$ID_ABOUT_PRODUCT")" "product"
e2e_assert_eq "Version 2007-11-07 (beta)" "$(ctl_text "$about" "$ID_ABOUT_VERSION")" "version line"
e2e_assert_match '^https?://' "$(ctl_text "$about" "$ID_ABOUT_ADDRESS")" "web address"
e2e_assert_eq $'379\t261\t652\t464' "$(e2e_probe rect "$about")" "about position and size"
expect_not_topmost "$about" "the about dialog"
e2e_screenshot "$E2E_TMP/about.png"
# The about command again while it is open: still the one dialog.
tray_right_click
menu_items >/dev/null || e2e_fail "no menu while About is open"
menu_click 1
sleep 0.5
e2e_assert_eq "$about" "$(about_dialog)" "about dialog after a second About"
ctl_send "$about" "$ID_OK" "$BM_CLICK" 0 0 >/dev/null
e2e_wait_for 5 about_closed || e2e_fail "About did not close with its button"

# The shell loses every icon when it restarts; its broadcast brings ours back.
e2e_probe tray-del "$ROMBO_HWND" 1 || e2e_fail "could not take the icon away"
e2e_assert_eq absent "$(e2e_probe tray-has "$ROMBO_HWND" 1)" "icon after the shell lost it"
e2e_probe post 0xffff reg:TaskbarCreated 0 0 >/dev/null || e2e_fail "could not broadcast TaskbarCreated"
e2e_wait_for 5 bash -c "[[ \$(wine '$ROMBO_PROBE' tray-has $ROMBO_HWND 1 | tr -d '\r') == present ]]" ||
    e2e_fail "the icon did not come back after TaskbarCreated"
# ... and it works: the menu opens from it again.
tray_right_click
menu_items >/dev/null || e2e_fail "no menu from the icon added again"
xdotool mousemove 400 300 click 1
e2e_wait_for 5 menu_closed || e2e_fail "the menu did not close"

# About over the settings dialog: the settings dialog takes no input until
# About closes; the settings command meanwhile brings About, which does, to
# the front.
open_settings
tray_right_click
menu_items >/dev/null || e2e_fail "no menu over the settings dialog"
menu_click 1
e2e_wait_for 10 about_dialog || e2e_fail "About did not open over the settings dialog"
about=$(about_dialog)
e2e_assert_eq 0 "$(window_enabled "$DLG")" "the settings dialog under About"
e2e_assert_eq 1 "$(window_enabled "$about")" "About over the settings dialog"
tray_double_click
e2e_wait_for 5 foreground_is "$about" || e2e_fail "the settings command did not bring About to the front"
ctl_send "$about" "$ID_OK" "$BM_CLICK" 0 0 >/dev/null
e2e_wait_for 5 about_closed || e2e_fail "About did not close over the settings dialog"
e2e_assert_eq 1 "$(window_enabled "$DLG")" "the settings dialog after About"
e2e_wait_for 5 foreground_is "$DLG" || e2e_fail "the settings dialog is not active after About"

# Quit, while the settings dialog is open: the dialog's own loop lets the
# program end.
tray_right_click
menu_items >/dev/null || e2e_fail "no menu while the settings dialog is open"
menu_click 3
wait_exit "$ROMBO_PID" 15 || e2e_fail "Quit did not end the program"
wait "$ROMBO_PID"
e2e_assert_eq 0 "$?" "exit code after Quit"
e2e_assert_eq absent "$(e2e_probe tray-has "$ROMBO_HWND" 1)" "icon after Quit"
exit 0
