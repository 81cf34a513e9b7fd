#!/usr/bin/env bash
# The installer and uninstaller driven as a user clicks through them with the
# defaults (Enter on each page): the sign-in option is ticked, the finish page
# starts the program, and the uninstaller keeps the settings unless asked.
# The release is signed (a throwaway certificate), as a release with a
# certificate is, and what it installs carries the signatures.
# E2E_SHOTS=<dir> keeps a screenshot of every page there.
set -u
. "$(dirname "$0")/release.sh"

release_begin
release_sign_input
setup=$(release_installer "$RELEASE_VERSION")
release_expect_signed "$setup"
# How long a page may take to appear; the pages themselves come in well under a second.
page_timeout_s=20

# page <title> <text on the page> <shot name>: waits until the wizard window
# shows that text, takes the screenshot, and presses Enter (the default button).
page() {
    e2e_wait_for "$page_timeout_s" _page_shows "$1" "$2" ||
        e2e_fail "no page with '$2': $(_page_text "$1"); windows: $(e2e_probe list | grep -v "\t0\t0\t0\t0\t")"
    [[ -n "${E2E_SHOTS:-}" ]] && mkdir -p "$E2E_SHOTS" && e2e_screenshot "$E2E_SHOTS/$3.png"
    local h
    h=$(e2e_probe find '#32770' "$1" | head -n1)
    e2e_probe activate "$h" >/dev/null
    xdotool key Return
}
_page_text() {
    local h
    h=$(e2e_probe find '#32770' "$1" | head -n1) || return 1
    e2e_probe text "$h"
}
_page_shows() { _page_text "$1" | grep -qF -- "$2"; }

e2e_reg_add "$ROMBO_KEY" idioma REG_SZ Testlang

e2e_wine "$setup"
installer_pid=$E2E_LAST_PID
page "Rombo Desktop Setup*" "Choose which features of Rombo Desktop" 1-components
page "Rombo Desktop Setup*" "Destination Folder" 2-directory
page "Rombo Desktop Setup*" "Start Rombo Desktop now" 3-finish
e2e_wait_for 20 bash -c "! kill -0 $installer_pid 2>/dev/null" || e2e_fail "the installer did not end"

e2e_wait_for 30 release_program_window || e2e_fail "the finish page did not start the program"
release_check_running_from "$(release_program_window)" "$RELEASE_INSTALLED_EXE_WIN"
e2e_assert_eq "\"$RELEASE_INSTALLED_EXE_WIN\"" "$(e2e_reg_query "$RELEASE_RUN_KEY" RomboDesktop)" "Run value"
release_expect_signed "$RELEASE_INSTDIR/RomboDesktop.exe" "$RELEASE_INSTDIR/librombo.dll" "$RELEASE_INSTDIR/uninstall.exe"

e2e_wine "$RELEASE_INSTDIR/uninstall.exe"
page "Rombo Desktop Uninstall*" "Choose which features of Rombo Desktop you want to uninstall" 4-uninstall-components
page "Rombo Desktop Uninstall*" "Completed" 5-uninstall-done
e2e_wait_for 30 _release_no_uninstaller || e2e_fail "the uninstaller did not end"
[[ ! -e "$RELEASE_INSTDIR" ]] || e2e_fail "left behind: $(ls -A "$RELEASE_INSTDIR")"
e2e_assert_eq 0 "$(release_copies_running)" "copies running after uninstall"
e2e_assert_eq Testlang "$(e2e_reg_query "$ROMBO_KEY" idioma)" "settings kept by default"
exit 0
