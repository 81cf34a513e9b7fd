#!/usr/bin/env bash
# Hotkeys that another program holds: started while both Ctrl+Alt+Left and
# Ctrl+Alt+Right belong to someone else, the program says so once, in a
# balloon from its tray icon, in the language of its settings, and naming
# both combinations.
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/rombo.sh"

e2e_start 1024x768
holder_out=$E2E_TMP/hotkey-holder.out
wine "$ROMBO_PROBE" hotkey-hold 3 0x25 3 0x27 >"$holder_out" 2>&1 &
E2E_WINE_PIDS+=("$!")
e2e_wait_for 20 grep -q '^held' "$holder_out" || e2e_fail "the probe could not hold the hotkeys: $(cat "$holder_out")"

rombo_seed idioma REG_SZ Deutsch
rombo_start
e2e_assert_eq present "$(e2e_probe tray-has "$ROMBO_HWND" 1)" "tray icon"

# The shell shows a balloon as a tooltip window whose text is the notice.
balloon_text() {
    local h text
    for h in $(e2e_probe find tooltips_class32 - --visible); do
        text=$(e2e_probe text "$h" | head -n1)
        [[ -n "$text" ]] && { echo "$text"; return 0; }
    done
    return 1
}
e2e_wait_for 15 balloon_text || e2e_fail "no balloon from the tray icon"
text=$(balloon_text)
e2e_log "balloon: $text"
expected=$(tr -d '\r' <"$ROMBO_WIN64_DIR/Deutsch.lang" | iconv -f CP1252 -t UTF-8 |
    sed -n 's/^Taken //p' | sed 's/%s/Ctrl+Alt+Left, Ctrl+Alt+Right/')
[[ -n "$expected" ]] || e2e_fail "no Taken text in Deutsch.lang"
e2e_assert_eq "$expected" "$text" "balloon text"
e2e_screenshot "$E2E_TMP/balloon.png"
rombo_artifact "$E2E_TMP/balloon.png"
exit 0
