#!/usr/bin/env bash
# The per-user installer as a user meets it, silently: it installs the files,
# the Start-menu shortcut, the Run value (unless /NOAUTOSTART) and the
# uninstall entry and starts nothing unless /RUN; the installed program runs
# with its tray icon; an update over a running copy closes it, replaces the
# files and keeps the settings; uninstalling leaves only the settings key, and
# with /REMOVESETTINGS nothing at all. Either way every window of the four
# desktops stands on the screen afterwards, whether the program ran or not.
set -u
. "$(dirname "$0")/release.sh"

release_begin
version=$RELEASE_VERSION
setup=$(release_installer "$version")
update=$(release_next_version "$version")
setup_update=$(release_installer "$update")
exe_win=$RELEASE_INSTALLED_EXE_WIN
dir_win=${exe_win%\\*}

# check_files: the installed folder holds exactly the packed files and the
# uninstaller, byte for byte as packed.
check_files() {
    local f expected actual
    expected=$( (cd "$RELEASE_INPUT" && ls; printf '%s\n' LICENSE.txt README.txt uninstall.exe) | sort)
    actual=$(cd "$RELEASE_INSTDIR" && ls | sort) || e2e_fail "no $RELEASE_INSTDIR"
    e2e_assert_eq "$expected" "$actual" "installed files"
    for f in "$RELEASE_INPUT"/*; do
        cmp -s "$f" "$RELEASE_INSTDIR/${f##*/}" || e2e_fail "${f##*/} differs from the packed one"
    done
    unzip -p "${setup%-win64-setup.exe}-win64.zip" "*/README.txt" | cmp -s - "$RELEASE_INSTDIR/README.txt" ||
        e2e_fail "README.txt differs from the packed one"
}

# check_entry <version>: the uninstall list shows the program as installed.
check_entry() {
    local values kib bytes=0 files=0 f
    values=$(release_reg_values "$RELEASE_UNINSTALL_KEY")
    e2e_assert_eq $'REG_SZ\tRombo Desktop' "$(release_value "$values" DisplayName)" DisplayName
    e2e_assert_eq $'REG_SZ\t'"$1" "$(release_value "$values" DisplayVersion)" DisplayVersion
    e2e_assert_eq $'REG_SZ\tThe Rombo Desktop developers' "$(release_value "$values" Publisher)" Publisher
    e2e_assert_eq $'REG_SZ\t'"$exe_win,0" "$(release_value "$values" DisplayIcon)" DisplayIcon
    e2e_assert_eq $'REG_SZ\t'"$dir_win" "$(release_value "$values" InstallLocation)" InstallLocation
    e2e_assert_eq $'REG_SZ\t"'"$dir_win"'\uninstall.exe"' "$(release_value "$values" UninstallString)" UninstallString
    e2e_assert_eq $'REG_SZ\t"'"$dir_win"'\uninstall.exe" /S' \
        "$(release_value "$values" QuietUninstallString)" QuietUninstallString
    e2e_assert_eq $'REG_DWORD\t0x1' "$(release_value "$values" NoModify)" NoModify
    e2e_assert_eq $'REG_DWORD\t0x1' "$(release_value "$values" NoRepair)" NoRepair
    # KiB of the program's files, each rounded up.
    for f in "$RELEASE_INSTDIR"/*; do
        [[ "${f##*/}" == uninstall.exe ]] && continue
        bytes=$((bytes + $(stat -c %s "$f")))
        files=$((files + 1))
    done
    kib=$(( $(release_value "$values" EstimatedSize | cut -f2) ))
    (( kib >= bytes / 1024 && kib <= bytes / 1024 + files )) ||
        e2e_fail "EstimatedSize $kib KiB for $bytes bytes in $files files"
}

check_shortcut() {
    [[ -f "$RELEASE_SHORTCUT" ]] || e2e_fail "no Start-menu shortcut"
    strings -a -el "$RELEASE_SHORTCUT" | grep -qxF "$exe_win" ||
        strings -a "$RELEASE_SHORTCUT" | grep -qxF "$exe_win" || e2e_fail "the shortcut does not lead to $exe_win"
}

# check_removed: no file, shortcut, Run value or uninstall entry is left.
check_removed() {
    [[ ! -e "$RELEASE_INSTDIR" ]] || e2e_fail "left behind: $(ls -A "$RELEASE_INSTDIR")"
    [[ ! -e "$RELEASE_SHORTCUT" ]] || e2e_fail "the shortcut is left"
    local left
    left=$(find "$WINEPREFIX/drive_c" -iname '*rombo*')
    [[ -z "$left" ]] || e2e_fail "files left: $left"
    e2e_assert_eq 0 "$(release_copies_running)" "copies running after uninstall"
}

# Windows of the four desktops, and where each stands on its own.
W=1024
DESKTOP_LEFTS=(100 250 400 550)
DESKTOP_WINDOWS=()

# open_desktop_windows: with the program running on desktop 0, opens one
# window on each desktop, switching right after each of the first three,
# and checks they stand parked as desktop 3 shows them.
open_desktop_windows() {
    local d
    for d in 0 1 2 3; do
        e2e_window "${DESKTOP_LEFTS[d]}" 120 120 90 "desktop $d"
        DESKTOP_WINDOWS+=("$E2E_WINDOW_HWND")
        ((d < 3)) || break
        rombo_key ctrl+alt+Right
        rombo_wait_left "${DESKTOP_WINDOWS[d]}" $((DESKTOP_LEFTS[d] - W))
        rombo_wait_session_end
    done
    # Desktop 3 shown: 0 one width right, 1 two right, 2 one left.
    rombo_wait_left "${DESKTOP_WINDOWS[0]}" $((DESKTOP_LEFTS[0] + W))
    rombo_wait_left "${DESKTOP_WINDOWS[1]}" $((DESKTOP_LEFTS[1] + 2 * W))
    rombo_wait_left "${DESKTOP_WINDOWS[2]}" $((DESKTOP_LEFTS[2] - W))
}

# check_windows_gathered: every desktop's window stands where it stood on
# its own desktop, on the screen (the moves are not waited for by whoever
# makes them, so they may land a moment later).
check_windows_gathered() {
    local d
    for d in 0 1 2 3; do
        rombo_wait_left "${DESKTOP_WINDOWS[d]}" "${DESKTOP_LEFTS[d]}" 5
    done
}

seed_settings() {
    e2e_reg_add "$ROMBO_KEY" idioma REG_SZ Testlang
    e2e_reg_add "$ROMBO_KEY" zoom REG_BINARY 000000a09999d93f
}
check_settings_kept() {
    e2e_assert_eq Testlang "$(e2e_reg_query "$ROMBO_KEY" idioma)" "idioma kept"
    e2e_assert_eq 000000A09999D93F "$(e2e_reg_query "$ROMBO_KEY" zoom)" "zoom kept"
}

# 1. A silent install without autostart: everything in place, nothing started.
ms=$(release_setup "$setup" /S /NOAUTOSTART) || e2e_fail "silent install failed ($?)"
release_timing "silent install" "$ms"
check_files
check_entry "$version"
check_shortcut
e2e_reg_query "$RELEASE_RUN_KEY" RomboDesktop >/dev/null && e2e_fail "/NOAUTOSTART still wrote the Run value"
e2e_assert_eq 0 "$(release_copies_running)" "copies started by a silent install without /RUN"

# 2. The installed program runs and shows its tray icon.
ROMBO_EXE=$RELEASE_INSTDIR/RomboDesktop.exe
rombo_start
release_check_running_from "$ROMBO_HWND" "$exe_win"
seed_settings

# 3. An update over the running copy: the copy is closed, every file is
# replaced (a damaged one and a deleted one come back), the settings stay,
# autostart is on by default, and /RUN starts the new copy.
printf 'damaged' >>"$RELEASE_INSTDIR/README.txt"
lang=$(cd "$RELEASE_INPUT" && compgen -G '*.lang' | head -n1)
rm -f "$RELEASE_INSTDIR/$lang"
touch -d 2001-01-01 "$RELEASE_INSTDIR/RomboDesktop.exe"
ms=$(release_setup "$setup_update" /S /RUN) || e2e_fail "update over a running copy failed ($?)"
release_timing "silent update over a running copy" "$ms"
e2e_wait_for 5 bash -c "! kill -0 $ROMBO_PID 2>/dev/null" || e2e_fail "the running copy was not closed"
check_files
[[ "$(stat -c %Y "$RELEASE_INSTDIR/RomboDesktop.exe")" != "$(date -d 2001-01-01 +%s)" ]] ||
    e2e_fail "RomboDesktop.exe was not replaced"
check_entry "$update"
check_settings_kept
e2e_assert_eq "\"$exe_win\"" "$(e2e_reg_query "$RELEASE_RUN_KEY" RomboDesktop)" "Run value"
e2e_wait_for 30 release_program_window "$ROMBO_HWND" || e2e_fail "/RUN did not start the program"
release_check_running_from "$(release_program_window "$ROMBO_HWND")" "$exe_win"

# 4. A silent uninstall closes the running copy, brings every desktop's
# windows onto the screen and leaves only the settings.
ROMBO_HWND=$(release_program_window)
open_desktop_windows
ms=$(release_uninstall /S)
release_timing "silent uninstall of a running copy" "$ms"
check_removed
release_program_window >/dev/null && e2e_fail "a main window is left after uninstall"
check_settings_kept
check_windows_gathered
e2e_assert_eq 'HKEY_CURRENT_USER\Software\RomboDesktop' "$(release_hkcu_lines rombo)" "what is left in HKCU"

# 5. Installed again and removed with /REMOVESETTINGS: nothing is left.
release_setup "$setup" /S >/dev/null || e2e_fail "second silent install failed"
check_files
# A signal file left by the hook after the program quit goes too.
: >"$E2E_TEMP_UNIX/rombodesktop.hook"
# Windows a copy that quit on desktop 1 left parked; none runs now.
e2e_assert_eq 0 "$(release_copies_running)" "copies running before the second uninstall"
for d in 0 2 3; do
    e2e_probe move "${DESKTOP_WINDOWS[d]}" $((DESKTOP_LEFTS[d] + (d - 1) * W)) 120 >/dev/null
done
ms=$(release_uninstall /S /REMOVESETTINGS)
release_timing "silent uninstall with /REMOVESETTINGS" "$ms"
check_removed
check_windows_gathered
e2e_assert_eq "" "$(release_hkcu_lines rombo)" "what is left in HKCU after /REMOVESETTINGS"
exit 0
