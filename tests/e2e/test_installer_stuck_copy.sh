#!/usr/bin/env bash
# A running copy that does not answer the close request: a silent update gives
# up after its bounded wait with exit code 2 and leaves the installed version
# as it was, and a silent uninstall leaves everything in place, rather than
# either hanging or replacing files under a running program.
set -u
. "$(dirname "$0")/release.sh"

release_begin
setup=$(release_installer "$RELEASE_VERSION")
setup_update=$(release_installer "$(release_next_version "$RELEASE_VERSION")")
# The installer waits 10 s for a copy to exit; allow for a slow machine.
give_up_bound_ms=30000
# Silent NSIS runs end with exit code 2 when aborted.
aborted=2

release_setup "$setup" /S >/dev/null || e2e_fail "silent install failed"
before=$(cd "$RELEASE_INSTDIR" && sha256sum ./*)

# A window of the program's class and title that swallows WM_CLOSE.
e2e_window 100 100 200 100 wndRomboDesktop --class TForm1 --ignore-close
stuck=$E2E_WINDOW_HWND

ms=$(release_setup "$setup_update" /S)
rc=$?
release_timing "silent update giving up on a copy that does not close" "$ms"
e2e_assert_eq "$aborted" "$rc" "exit code of the update"
(( ms < give_up_bound_ms )) || e2e_fail "the update took $ms ms to give up"
e2e_assert_eq "$before" "$(cd "$RELEASE_INSTDIR" && sha256sum ./*)" "installed files after the refused update"
e2e_assert_eq "$RELEASE_VERSION" "$(e2e_reg_query "$RELEASE_UNINSTALL_KEY" DisplayVersion)" "DisplayVersion after the refused update"

ms=$(release_uninstall /S)
release_timing "silent uninstall giving up on a copy that does not close" "$ms"
(( ms < give_up_bound_ms )) || e2e_fail "the uninstall took $ms ms to give up"
e2e_assert_eq "$before" "$(cd "$RELEASE_INSTDIR" && sha256sum ./*)" "installed files after the refused uninstall"
[[ -f "$RELEASE_SHORTCUT" ]] || e2e_fail "the refused uninstall removed the shortcut"
e2e_reg_query "$RELEASE_UNINSTALL_KEY" DisplayName >/dev/null || e2e_fail "the refused uninstall removed its entry"
e2e_probe rect "$stuck" >/dev/null || e2e_fail "the stuck window went away"
exit 0
