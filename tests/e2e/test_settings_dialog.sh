#!/usr/bin/env bash
# The settings dialog from outside, as a user drives it: a double click on
# the tray icon opens it filled from the settings, an ordinary window that
# does not stay above other programs; OK stores exactly what its controls
# show; Cancel, Esc and the close box store nothing; a second settings
# command while it is open changes nothing in it; a switch of desktop while
# it is open shows the cube over it and leaves neither on top.
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/rombo.sh"
. "$(dirname "$0")/dialogs.sh"

e2e_start 1024x768
rombo_start

open_settings
e2e_assert_eq "Settings" "$(e2e_probe text "$DLG" | head -n1)" "title"
expect_not_topmost "$DLG" "the settings dialog"
expect_not_topmost "$ROMBO_HWND" "the hidden cube window"
# Designed place: left 360, top 210, client area 345 x 313 inside the frame.
read -r l t r b < <(e2e_probe rect "$DLG")
e2e_assert_eq "360 210" "$l $t" "dialog position"
(( r - l >= 345 && r - l < 365 && b - t >= 313 && b - t < 345 )) || e2e_fail "dialog size $((r - l))x$((b - t))"
e2e_assert_eq 30 "$(ctl_send "$DLG" "$ID_SPEED" "$TBM_GETPOS" 0 0)" "speed track bar"
e2e_assert_eq 20 "$(ctl_send "$DLG" "$ID_ZOOM" "$TBM_GETPOS" 0 0)" "zoom track bar"
combo=$(e2e_probe combo "$(ctl "$DLG" "$ID_LANGUAGE")")
languages=$(tail -n +2 <<<"$combo" | sort | tr '\n' ' ')
e2e_assert_eq "Deutsch English Espanol Francais " "$languages" "language list"
english=$(tail -n +2 <<<"$combo" | grep -nx English | cut -d: -f1)
e2e_assert_eq "$((english - 1))"$'\t'4 "$(head -n1 <<<"$combo")" "selected language"
for id in $ID_BACKGROUND_CHECK $ID_TOP_CHECK $ID_BOTTOM_CHECK; do
    e2e_assert_eq 0 "$(ctl_send "$DLG" "$id" "$BM_GETCHECK" 0 0)" "check box $id"
done
e2e_screenshot "$E2E_TMP/settings.png"

# Fill it in as a user would.
deutsch=$(tail -n +2 <<<"$combo" | grep -nx Deutsch | cut -d: -f1)
ctl_send "$DLG" "$ID_LANGUAGE" "$CB_SETCURSEL" $((deutsch - 1)) 0 >/dev/null
ctl_send "$DLG" "$ID_SPEED" "$TBM_SETPOS" 1 55 >/dev/null
ctl_send "$DLG" "$ID_ZOOM" "$TBM_SETPOS" 1 75 >/dev/null
e2e_probe settext "$(ctl "$DLG" "$ID_BACKGROUND_PATH")" 'C:\pictures\back.bmp' || e2e_fail "settext"
e2e_assert_eq 1 "$(ctl_send "$DLG" "$ID_BACKGROUND_CHECK" "$BM_GETCHECK" 0 0)" "typing checks the box"
e2e_probe settext "$(ctl "$DLG" "$ID_TOP_PATH")" 'C:\top.png'
ctl_send "$DLG" "$ID_TOP_CHECK" "$BM_CLICK" 0 0 >/dev/null
e2e_assert_eq "" "$(ctl_text "$DLG" "$ID_TOP_PATH")" "unchecking clears the path"
e2e_probe settext "$(ctl "$DLG" "$ID_BOTTOM_PATH")" 'D:\Bilder\unten m'$'\xc3\xbc''de.jpg'

# The settings command again while the dialog is open: nothing is refilled.
tray_double_click
sleep 1
e2e_assert_eq "$DLG" "$(settings_dialog)" "the one settings dialog"
e2e_assert_eq 55 "$(ctl_send "$DLG" "$ID_SPEED" "$TBM_GETPOS" 0 0)" "speed kept"
e2e_assert_eq 'C:\pictures\back.bmp' "$(ctl_text "$DLG" "$ID_BACKGROUND_PATH")" "path kept"
[[ -z "$(e2e_probe find '#32770' RomboDesktop --visible)" ]] || e2e_fail "an error box opened"

# A switch while the dialog is open: the cube is on top, not the dialog; the
# dialog is parked with its desktop's windows and comes back with them,
# keeping what was typed; afterwards neither window is on top.
switch_over_dialog() {  # key, where the dialog stands afterwards
    rombo_key "ctrl+alt+$1"
    e2e_wait_for 5 rombo_shown || e2e_fail "no cube after ctrl+alt+$1"
    local cube
    read -r cube _ < <(window_styles "$ROMBO_HWND")
    ((cube & WS_EX_TOPMOST)) || e2e_fail "the cube window is not on top (extended style $cube)"
    expect_not_topmost "$DLG" "the settings dialog under the cube"
    rombo_wait_session_end
    rombo_wait_left "$DLG" "$2"
    expect_not_topmost "$ROMBO_HWND" "the cube window after the switch"
    expect_not_topmost "$DLG" "the settings dialog after the switch"
}
switch_over_dialog Right $((360 - 1024))
switch_over_dialog Left 360
e2e_assert_eq 1 "$(window_enabled "$DLG")" "the dialog takes input after the switches"
e2e_assert_eq 55 "$(ctl_send "$DLG" "$ID_SPEED" "$TBM_GETPOS" 0 0)" "speed kept over the switches"

ctl_send "$DLG" "$ID_OK" "$BM_CLICK" 0 0 >/dev/null
e2e_wait_for 5 settings_closed || e2e_fail "OK did not close the dialog"

expect_stored() {  # language speed zoom background top bottom-hex
    e2e_assert_eq "$1" "$(e2e_reg_query "$ROMBO_KEY" idioma)" "idioma"
    e2e_assert_eq "$(stored_number "$2")" "$(e2e_reg_query "$ROMBO_KEY" velocidad)" "velocidad"
    e2e_assert_eq "$(stored_number "$3")" "$(e2e_reg_query "$ROMBO_KEY" zoom)" "zoom"
    e2e_assert_eq "$4" "$(e2e_reg_query "$ROMBO_KEY" fondo)" "fondo"
    e2e_assert_eq "$5" "$(e2e_reg_query "$ROMBO_KEY" tapasuperior)" "tapasuperior"
    e2e_assert_eq "$6" "$(e2e_reg_query "$ROMBO_KEY" tapainferior)" "tapainferior"
}
stored() { wine reg query "$ROMBO_KEY" 2>/dev/null | tr -d '\r' | sort; }
# reg prints texts in the console's OEM code page (437), where the u-umlaut
# typed into the edit is the byte 81.
expect_stored Deutsch 0.55 0.75 'C:\pictures\back.bmp' "" 'D:\Bilder\unten m'$'\x81''de.jpg'
# The exact bytes: an empty path is an empty text, the numbers the widened
# single-precision values.
wine reg export "$ROMBO_KEY" "$(winepath -w "$E2E_TMP/settings.reg")" /y >/dev/null 2>&1 ||
    e2e_fail "reg export"
iconv -f UTF-16LE -t UTF-8 "$E2E_TMP/settings.reg" | tr -d '\r' >"$E2E_TMP/settings.txt"
grep -qx '"tapasuperior"=""' "$E2E_TMP/settings.txt" || e2e_fail "tapasuperior is not an empty REG_SZ"
grep -qx '"velocidad"=hex:00,00,00,a0,99,99,e1,3f' "$E2E_TMP/settings.txt" ||
    e2e_fail "velocidad bytes: $(grep velocidad "$E2E_TMP/settings.txt")"
before=$(stored)

# Cancel, Esc and the close box each leave the store and the settings alone.
close_by() {
    case $1 in
    cancel) ctl_send "$DLG" "$ID_CANCEL" "$BM_CLICK" 0 0 >/dev/null ;;
    escape) e2e_probe activate "$DLG" >/dev/null; xdotool key Escape ;;
    closebox) e2e_probe post "$DLG" WM_SYSCOMMAND "$SC_CLOSE" 0 >/dev/null ;;
    esac
}
for how in cancel escape closebox; do
    open_settings
    e2e_assert_eq 55 "$(ctl_send "$DLG" "$ID_SPEED" "$TBM_GETPOS" 0 0)" "stored speed shown ($how)"
    ctl_send "$DLG" "$ID_SPEED" "$TBM_SETPOS" 1 88 >/dev/null
    e2e_probe settext "$(ctl "$DLG" "$ID_BACKGROUND_PATH")" 'C:\other.png'
    close_by "$how"
    e2e_wait_for 5 settings_closed || e2e_fail "$how did not close the dialog"
    e2e_assert_eq "$before" "$(stored)" "store after $how"
done
# ... and the settings in memory are unchanged: the next opening shows them.
open_settings
e2e_assert_eq 55 "$(ctl_send "$DLG" "$ID_SPEED" "$TBM_GETPOS" 0 0)" "speed after cancelling"
e2e_assert_eq 'C:\pictures\back.bmp' "$(ctl_text "$DLG" "$ID_BACKGROUND_PATH")" "path after cancelling"
e2e_assert_eq 1 "$(ctl_send "$DLG" "$ID_BACKGROUND_CHECK" "$BM_GETCHECK" 0 0)" "box after cancelling"
# Enter confirms.
ctl_send "$DLG" "$ID_SPEED" "$TBM_SETPOS" 1 60 >/dev/null
e2e_probe activate "$DLG" >/dev/null
xdotool key Return
e2e_wait_for 5 settings_closed || e2e_fail "Enter did not close the dialog"
expect_stored Deutsch 0.6 0.75 'C:\pictures\back.bmp' "" 'D:\Bilder\unten m'$'\x81''de.jpg'
exit 0
