#!/usr/bin/env bash
# The portable zip as a user meets it: unpacked into a folder whose path has
# spaces and non-ASCII letters (the zip's files come in a folder of their
# own), the program starts from there, shows its tray
# icon, finds its language files beside it and quits cleanly.
set -u
. "$(dirname "$0")/release.sh"
. "$(dirname "$0")/dialogs.sh"

release_begin
zip=$(release_package "$RELEASE_VERSION")/RomboDesktop-$RELEASE_VERSION-win64.zip

# Letters of the Western code page, which an ANSI program sees unchanged.
folder_win='C:\Programme Zoë\Rombo Désktop Größe'
folder=$WINEPREFIX/drive_c/${folder_win#C:\\}
folder=${folder//\\//}
mkdir -p "$folder"
unzip -q "$zip" -d "$folder" || e2e_fail "unzip failed"
e2e_assert_eq "RomboDesktop-$RELEASE_VERSION" "$(ls "$folder")" "the zip's one folder"
folder_win+="\\RomboDesktop-$RELEASE_VERSION"
folder+="/RomboDesktop-$RELEASE_VERSION"
expected=$( (cd "$RELEASE_INPUT" && ls; printf '%s\n' LICENSE.txt README.txt) | sort)
e2e_assert_eq "$expected" "$(cd "$folder" && ls | sort)" "unpacked files"

ROMBO_EXE=$folder/RomboDesktop.exe
rombo_start
release_check_running_from "$ROMBO_HWND" "$folder_win\\RomboDesktop.exe"

# check_language_files: the language files are where the running program
# looks for them, the folder of its own executable, and the settings
# dialog lists every one of them.
check_language_files() {
    local exe_dir f
    exe_dir=$(e2e_probe exe-path "$ROMBO_HWND") || e2e_fail "no program path"
    exe_dir=$WINEPREFIX/drive_c/${exe_dir#C:\\}
    exe_dir=${exe_dir//\\//}
    exe_dir=${exe_dir%/*}
    for f in "$RELEASE_INPUT"/*.lang; do
        cmp -s "$f" "$exe_dir/${f##*/}" || e2e_fail "${f##*/} is not beside the program in $exe_dir"
    done
    local expected listed
    expected=$(cd "$RELEASE_INPUT" && ls -- *.lang | sed 's/\.lang$//' | sort | tr '\n' ' ')
    [[ -n "$expected" ]] || e2e_fail "no language files in the package"
    open_settings
    listed=$(e2e_probe combo "$(ctl "$DLG" "$ID_LANGUAGE")" | tail -n +2 | sort | tr '\n' ' ')
    e2e_assert_eq "$expected" "$listed" "the settings dialog's language list"
    e2e_probe post "$DLG" WM_CLOSE 0 0 >/dev/null
    e2e_wait_for 10 settings_closed || e2e_fail "the settings dialog did not close"
}
check_language_files

e2e_probe post "$ROMBO_HWND" WM_CLOSE 0 0 >/dev/null || e2e_fail "could not post WM_CLOSE"
e2e_wait_for 15 bash -c "! kill -0 $ROMBO_PID 2>/dev/null" || e2e_fail "program still runs after close"
wait "$ROMBO_PID"
e2e_assert_eq 0 "$?" "exit code"
exit 0
