#!/usr/bin/env bash
# Interface texts from the language files beside the program: captions
# change at the next tray notification after a language is chosen, change
# again when the file is edited, and come back to the built-in English when
# it is deleted; a file that cannot be opened shows an error box, opens
# nothing, and the program runs on.
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/rombo.sh"
. "$(dirname "$0")/dialogs.sh"

e2e_start 1024x768
dialogs_private_copy
rombo_seed idioma REG_SZ Espanol
rombo_start

menu_texts() {
    tray_right_click
    local items
    items=$(menu_items) || e2e_fail "no menu"
    # Closed by a click elsewhere (under Wine the keyboard does not reach
    # a menu whose owner is a hidden window).
    xdotool mousemove 300 300 click 1
    e2e_wait_for 5 menu_closed || e2e_fail "the menu did not close"
    cut -f2 <<<"$items" | tr '\n' '|'
}
captions() {  # the dialog's title and labels, in order of their controls
    e2e_probe text "$1" | awk -F'\t' 'NR == 1 {print; next} $2 == "Static" || $2 == "Button" {print $3}' |
        tr '\n' '|'
}

# The stored language, read at the first notification.
e2e_assert_eq "&Configuración|&Acerca de...||&Salir|" "$(menu_texts)" "Spanish menu"
open_settings
e2e_assert_match '^Configuración\|Zoom:\|Cerca\|Lejos\|\.\.\.\|\.\.\.\|\.\.\.\|Aceptar\|Cancelar\|Idioma:\|Velocidad:\|Lento\|Rápido\|Fondo:\|\|Tapa superior:\|\|Tapa inferior:\|\|$' \
    "$(captions "$DLG")" "Spanish settings dialog"
e2e_screenshot "$E2E_TMP/spanish.png"

# Choosing German: nothing changes until the next notification.
combo=$(e2e_probe combo "$(ctl "$DLG" "$ID_LANGUAGE")")
deutsch=$(tail -n +2 <<<"$combo" | grep -nx Deutsch | cut -d: -f1)
ctl_send "$DLG" "$ID_LANGUAGE" "$CB_SETCURSEL" $((deutsch - 1)) 0 >/dev/null
ctl_send "$DLG" "$ID_OK" "$BM_CLICK" 0 0 >/dev/null
e2e_wait_for 5 settings_closed || e2e_fail "OK did not close the dialog"
e2e_assert_eq "Aceptar" "$(ctl_text "$DLG" "$ID_OK")" "OK button before a notification"
tray_notify "$WM_MOUSEMOVE"
e2e_wait_for 5 bash -c "[[ \$(wine '$ROMBO_PROBE' text \$(wine '$ROMBO_PROBE' child $DLG $ID_CANCEL | tr -d '\r') | head -n1 | tr -d '\r') == Abbrechen ]]" ||
    e2e_fail "the mouse over the icon did not apply German"
e2e_assert_eq "&Einstellungen|&Über...||&Beenden|" "$(menu_texts)" "German menu"
open_settings
e2e_assert_eq "Einstellungen" "$(e2e_probe text "$DLG" | head -n1)" "German title"
e2e_assert_eq "Sprache:" "$(ctl_text "$DLG" "$ID_LABEL_LANGUAGE")" "German label"
e2e_screenshot "$E2E_TMP/german.png"
ctl_send "$DLG" "$ID_CANCEL" "$BM_CLICK" 0 0 >/dev/null
e2e_wait_for 5 settings_closed || e2e_fail "Cancel did not close the dialog"

# Edited on disk: read again at the next notification, no restart.
sed -i 's/^Settings &Einstellungen/Settings \&Optionen/' "$APP_DIR/Deutsch.lang"
e2e_assert_eq "&Optionen|&Über...||&Beenden|" "$(menu_texts)" "edited German menu"

# Deleted: every caption is the built-in English.
mv "$APP_DIR/Deutsch.lang" "$E2E_TMP/Deutsch.lang"
e2e_assert_eq "&Settings|&About...||&Quit|" "$(menu_texts)" "menu without the file"
open_settings
e2e_assert_eq "Settings" "$(e2e_probe text "$DLG" | head -n1)" "title without the file"
ctl_send "$DLG" "$ID_CANCEL" "$BM_CLICK" 0 0 >/dev/null
e2e_wait_for 5 settings_closed || e2e_fail "Cancel did not close the dialog"

# Held open by another program: an error box, and no menu.
mv "$E2E_TMP/Deutsch.lang" "$APP_DIR/Deutsch.lang"
hold_out=$E2E_TMP/hold.out
wine "$ROMBO_PROBE" hold "$(winepath -w "$APP_DIR/Deutsch.lang")" >"$hold_out" 2>&1 &
E2E_WINE_PIDS+=("$!")
hold_pid=$!
e2e_wait_for 20 grep -q held "$hold_out" || e2e_fail "could not hold the file: $(cat "$hold_out")"
tray_right_click
e2e_wait_for 10 e2e_probe find '#32770' RomboDesktop --visible || e2e_fail "no error box"
box=$(e2e_probe find '#32770' RomboDesktop --visible | head -n1)
e2e_assert_match 'Cannot open file .*\\Deutsch\.lang' "$(e2e_probe text "$box" | tr '\n' ' ')" "error text"
e2e_probe menu 0 >/dev/null 2>&1 && e2e_fail "the menu opened although the texts could not be read"
# More notifications while the box is open do not pile up more boxes.
tray_notify "$WM_MOUSEMOVE"
tray_notify "$WM_MOUSEMOVE"
sleep 0.5
e2e_assert_eq 1 "$(e2e_probe find '#32770' RomboDesktop --visible | wc -l)" "error boxes"
e2e_screenshot "$E2E_TMP/error.png"
ctl_send "$box" "$ID_OK" "$BM_CLICK" 0 0 >/dev/null
kill "$hold_pid" 2>/dev/null
wait "$hold_pid" 2>/dev/null
# The program runs on: once the file is free, the menu opens in German.
e2e_wait_for 10 bash -c "! wine '$ROMBO_PROBE' find '#32770' RomboDesktop --visible >/dev/null" || e2e_fail "the error box stays"
e2e_assert_eq "&Optionen|&Über...||&Beenden|" "$(menu_texts)" "menu after the error"
exit 0
