#!/usr/bin/env bash
# The settings dialog's browse buttons: the picture dialog is modal to the
# settings dialog (which takes no input meanwhile) and not on top of other
# programs; it lists "All" and then each picture format, shows a preview of
# the selected file, and the file confirmed becomes the row's path with its
# box checked; the next browse starts from it; Cancel changes nothing.
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/rombo.sh"
. "$(dirname "$0")/dialogs.sh"

# The common file dialog's controls (dlgs.h): file types, file name.
ID_FILE_TYPES=0x470
ID_FILE_NAME_BOX=0x47c
ID_FILE_NAME_EDIT=0x480

e2e_start 1024x768
pictures=$(winepath -u 'C:\pictures' 2>/dev/null)
mkdir -p "$pictures"
convert -size 160x90 gradient:'#d02020-#2040d0' -type TrueColor BMP3:"$pictures/sunset.bmp"
convert -size 90x160 gradient:'#20c040-#f0e020' "$pictures/meadow.png"
rombo_start
open_settings

file_dialog() { dialog_with "$ID_FILE_TYPES"; }
browse() {  # button id
    e2e_probe post "$(ctl "$DLG" "$1")" "$BM_CLICK" 0 0 >/dev/null
    e2e_wait_for 10 file_dialog || e2e_fail "no picture dialog"
    FILE_DLG=$(file_dialog)
}
# name_edit: the file name box's edit, wherever the dialog keeps it.
name_edit() {
    ctl "$FILE_DLG" "$ID_FILE_NAME_EDIT" 2>/dev/null ||
        e2e_probe text "$(ctl "$FILE_DLG" "$ID_FILE_NAME_BOX")" | awk -F'\t' 'NR > 1 && $2 == "Edit" {print $1; exit}'
}

browse "$ID_BROWSE_BACKGROUND"
e2e_assert_eq 0 "$(window_enabled "$DLG")" "the settings dialog under the picture dialog"
expect_not_topmost "$FILE_DLG" "the picture dialog"
types=$(e2e_probe combo "$(ctl "$FILE_DLG" "$ID_FILE_TYPES")" | tail -n +2)
expected_types='All
Bitmaps (*.bmp)
Icons (*.ico)
Metafiles (*.wmf)
Enhanced Metafiles (*.emf)
JPEG Image File (*.jpg)
JPEG Image File (*.jpeg)
Portable Network Graphics (*.png)'
e2e_assert_eq "$expected_types" "$types" "file types"

# Into the folder, then a click on a picture shows its preview.
e2e_probe settext "$(name_edit)" 'C:\pictures' || e2e_fail "no file name edit"
ctl_send "$FILE_DLG" "$ID_OK" "$BM_CLICK" 0 0 >/dev/null
sleep 1
list=$(e2e_probe text "$FILE_DLG" | awk -F'\t' '$2 == "SysListView32" {print $1; exit}')
[[ -n "$list" ]] || e2e_fail "no file list in the picture dialog"
# saturated: strongly coloured pixels inside the picture dialog (the grey
# dialog and the white list have none).
saturated() {
    local dl dt dr db
    read -r dl dt dr db < <(e2e_probe rect "$FILE_DLG")
    e2e_screenshot "$E2E_TMP/$1.png"
    # Below the title bar, which is coloured too.
    convert "$E2E_TMP/$1.png" -crop "$((dr - dl))x$((db - dt - 40))+$dl+$((dt + 40))" +repage \
        -colorspace HSL -channel G -separate +channel -threshold 50% \
        -format '%[fx:round(mean*w*h)]' info:
}
before=$(saturated unselected)
read -r l t r b < <(e2e_probe rect "$list")
xdotool mousemove $((l + 40)) $((t + 10)) sleep 0.2 click 1
sleep 1
after=$(saturated preview)
(( after - before > 5000 )) || e2e_fail "no preview of the picture ($before, then $after saturated pixels)"

e2e_probe settext "$(name_edit)" 'C:\pictures\sunset.bmp'
ctl_send "$FILE_DLG" "$ID_OK" "$BM_CLICK" 0 0 >/dev/null
e2e_wait_for 10 bash -c "! wine '$ROMBO_PROBE' find '#32770' Open --visible >/dev/null" || true
sleep 0.5
e2e_assert_eq 1 "$(window_enabled "$DLG")" "the settings dialog after the picture dialog"
e2e_assert_eq 'C:\pictures\sunset.bmp' "$(ctl_text "$DLG" "$ID_BACKGROUND_PATH")" "chosen path"
e2e_assert_eq 1 "$(ctl_send "$DLG" "$ID_BACKGROUND_CHECK" "$BM_GETCHECK" 0 0)" "box of the chosen path"

# The next browse starts from that file; cancelling changes nothing.
browse "$ID_BROWSE_TOP"
e2e_assert_match 'sunset\.bmp$' "$(e2e_probe text "$(name_edit)" | head -n1)" "where the next browse starts"
ctl_send "$FILE_DLG" "$ID_CANCEL" "$BM_CLICK" 0 0 >/dev/null
sleep 0.5
e2e_assert_eq "" "$(ctl_text "$DLG" "$ID_TOP_PATH")" "top path after cancelling"
e2e_assert_eq 0 "$(ctl_send "$DLG" "$ID_TOP_CHECK" "$BM_GETCHECK" 0 0)" "top box after cancelling"
exit 0
