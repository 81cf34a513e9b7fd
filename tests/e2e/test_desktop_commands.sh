#!/usr/bin/env bash
# The desktop commands from outside: Ctrl+Alt+F3 from desktop 1 turns to
# desktop 3 in one session and Ctrl+Alt+F1 back; Ctrl+Alt+Shift+Right with a
# window active takes it along (it stays on the screen and keeps the
# keyboard, the desktop's other windows park one width to the left); the
# tray icon shows the desktop: after two switches its pixels differ from the
# start, after four they are the start's again.
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/rombo.sh"
. "$(dirname "$0")/dialogs.sh"

W=1024
e2e_start ${W}x768
# Xvfb's keymap takes Ctrl+Alt+F1..F12 for switching virtual terminals (the
# server acts on them and passes no key on); a Windows keyboard has no such
# keys.
setxkbmap -display "$DISPLAY" -layout us -option srvrkeys:none || e2e_fail "setxkbmap failed"
e2e_window 100 120 300 200 "A" --color 2050c0
a=$E2E_WINDOW_HWND
e2e_window 500 300 240 160 "B" --color c05020
b=$E2E_WINDOW_HWND
rombo_seed velocidad REG_BINARY "$(rombo_double_hex 0.9)"
rombo_start

# tray_shot <name>: the tray icon's square of the screen, as a PNG.
tray_shot() {
    local x y
    read -r x y < <(tray_icon_point)
    e2e_screenshot "$E2E_TMP/screen-$1.png"
    convert "$E2E_TMP/screen-$1.png" -crop 20x20+$((x - 10))+$((y - 10)) +repage "$E2E_TMP/tray-$1.png"
    rombo_artifact "$E2E_TMP/tray-$1.png"
}
# same_icon <a> <b>: 0 when the two tray shots have the same pixels.
same_icon() {
    [[ "$(compare -metric AE "$E2E_TMP/tray-$1.png" "$E2E_TMP/tray-$2.png" null: 2>&1)" == 0 ]]
}
# session_count <keys>: presses the keys while the probe watches the cube
# window; prints how many sessions it saw.
session_count() {
    local out="$E2E_TMP/watch.$RANDOM.out"
    wine "$ROMBO_PROBE" watch 3000 "$ROMBO_HWND" >"$out" 2>&1 &
    E2E_WINE_PIDS+=("$!")
    e2e_wait_for 10 grep -q watching "$out" || e2e_fail "the watch did not start"
    rombo_key "$1"
    wait "$!"
    tr -d '\r' <"$out" | awk -F'\t' -v h="$ROMBO_HWND" '$1 == h {print gsub(/1/, "1", $2)}'
}
switch() {
    rombo_key "$1"
    e2e_wait_for 5 rombo_shown || true
    rombo_wait_session_end
    sleep 0.3
}

sleep 1
tray_shot start

# Straight to desktop 3: the short way, two faces on, in one session.
e2e_assert_eq 1 "$(session_count ctrl+alt+F3)" "sessions for Ctrl+Alt+F3"
rombo_wait_left "$a" $((100 + 2 * W))
rombo_wait_left "$b" $((500 + 2 * W))
rombo_wait_session_end
switch ctrl+alt+F1
rombo_wait_left "$a" 100

# Take A along to desktop 2: it stays and keeps the keyboard, B parks.
e2e_probe activate "$a" >/dev/null || e2e_fail "could not activate A"
sleep 0.3
switch ctrl+alt+shift+Right
rombo_wait_left "$b" $((500 - W))
e2e_assert_eq 100 "$(rombo_left "$a")" "A taken along"
e2e_wait_for 5 bash -c "[[ \$(wine '$ROMBO_PROBE' foreground | tr -d '\r' | cut -f1) == $a ]]" ||
    e2e_fail "A lost the keyboard: the foreground is $(e2e_probe foreground)"
switch ctrl+alt+Left
rombo_wait_left "$b" 500
rombo_wait_left "$a" $((100 + W))

# Back on desktop 1 (A stays on desktop 2): the icon as at the start.
tray_shot back
same_icon start back || e2e_fail "the icon on desktop 1 is not the start's"
switch ctrl+alt+Right
switch ctrl+alt+Right
tray_shot two
same_icon start two && e2e_fail "the icon did not change after two switches"
switch ctrl+alt+Right
switch ctrl+alt+Right
tray_shot four
same_icon start four || e2e_fail "the icon after four switches is not the start's"
exit 0
