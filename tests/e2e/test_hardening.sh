#!/usr/bin/env bash
# What a folder, a file or another program's message can do: an opengl32.dll
# and a glu32.dll planted beside the program are not loaded; a language file
# of 1 MiB of nested sections leaves the tray menu opening within a second; a
# WM_DESTROY posted by another program leaves it running; a WM_INITDIALOG sent
# to its settings dialog with the sender's pointer changes nothing.
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/rombo.sh"
. "$(dirname "$0")/dialogs.sh"

e2e_start 1024x768
dialogs_private_copy
cp "${ROMBO_PROBE%/*}/planted/opengl32.dll" "${ROMBO_PROBE%/*}/planted/glu32.dll" "$APP_DIR/"
# By itself Wine takes its own opengl32 and glu32 even from beside a program;
# told to prefer native ones, it loads planted ones that the loader reaches.
export WINEDLLOVERRIDES="opengl32,glu32=n,b"
# The language in use (English by default): 1,000 nested openings, then
# short entries up to 1 MiB.
python3 - "$APP_DIR/English.lang" <<'PY'
import sys
text = "".join("<section%d>\n" % i for i in range(1000))
text += "k\n" * (((1 << 20) - len(text)) // 2)
open(sys.argv[1], "w").write(text)
PY
rombo_start

# A session draws with OpenGL, which the program has loaded by then.
rombo_key ctrl+alt+Right
rombo_wait_session_end
for dll in opengl32 glu32; do
    [[ ! -e "$E2E_TEMP_UNIX/planted-$dll.dll.loaded" ]] || e2e_fail "the planted $dll.dll was loaded"
done

# The mouse over the icon reads the file, then the click opens the menu.
started=$(date +%s%N)
tray_right_click
items=$(e2e_probe menu 1000) || e2e_fail "no menu within a second with the nested language file"
e2e_log "menu open $((($(date +%s%N) - started) / 1000000)) ms after the click"
e2e_log "the program's peak memory: $(awk '/VmHWM/ {print $2, $3}' "/proc/$ROMBO_PID/status" 2>/dev/null)"
e2e_assert_eq "&Settings" "$(sed -n 1p <<<"$items" | cut -f2)" "menu with the built-in texts"
xdotool mousemove 400 300 click 1
e2e_wait_for 5 menu_closed || e2e_fail "the menu did not close"

e2e_probe post "$ROMBO_HWND" 0x0002 0 0 >/dev/null || e2e_fail "could not post WM_DESTROY"
e2e_probe send "$ROMBO_HWND" 0 0 0 >/dev/null || e2e_fail "the main window is gone after a posted WM_DESTROY"
e2e_assert_eq present "$(e2e_probe tray-has "$ROMBO_HWND" 1)" "tray icon after a posted WM_DESTROY"

open_settings
e2e_probe send "$DLG" 0x0110 0 0x41414141 >/dev/null
ctl_send "$DLG" "$ID_CANCEL" "$BM_CLICK" 0 0 >/dev/null
e2e_wait_for 5 settings_closed || e2e_fail "the settings dialog did not close after a WM_INITDIALOG from outside"

e2e_probe post "$ROMBO_HWND" WM_CLOSE 0 0 >/dev/null
wait_exit "$ROMBO_PID" 15 || e2e_fail "the program did not quit"
wait "$ROMBO_PID"
e2e_assert_eq 0 "$?" "exit code"
exit 0
