#!/usr/bin/env bash
# Switching desktops from outside: hotkeys shift every managed window by whole
# screen widths, four switches bring everything back, activating a parked
# window turns to its desktop, the hook's signal file (dropped by hand, or by
# the mouse hook on Ctrl+Alt+press) opens a session that follows the mouse,
# and layered windows and the taskbar never move.
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/rombo.sh"

W=1024
e2e_start ${W}x768
e2e_window 100 120 300 200 "one" --color 2050c0
one=$E2E_WINDOW_HWND
e2e_window 500 300 240 160 "two" --color c05020
two=$E2E_WINDOW_HWND
e2e_window 1200 100 200 150 "parked next" --color 20c050
next=$E2E_WINDOW_HWND
e2e_window 700 50 120 90 "layered" --layered --color 808080
layered=$E2E_WINDOW_HWND
taskbar=$(e2e_probe find Shell_TrayWnd | head -n1) || e2e_fail "no taskbar in the virtual desktop"
taskbar_rect() { e2e_probe rect "$taskbar" 2>/dev/null; }
taskbar_visible() { e2e_probe list | awk -F'\t' -v h="$taskbar" '$1 == h {print $8}'; }
taskbar_before=$(taskbar_rect)

rombo_start

expect_lefts() {  # one two next
    rombo_wait_left "$one" "$1"
    rombo_wait_left "$two" "$2"
    rombo_wait_left "$next" "$3"
    rombo_wait_session_end
    e2e_assert_eq 700 "$(rombo_left "$layered")" "layered window"
    e2e_assert_eq "$taskbar_before" "$(taskbar_rect)" "taskbar"
    e2e_assert_eq 1 "$(taskbar_visible)" "taskbar visible after the switch"
}

# watch_session: drops the signal file while the probe watches the cube
# window and the taskbar, and checks that a session really came and went:
# the cube shown and hidden again, the taskbar hidden and shown again.
watch_session() {
    local out="$E2E_TMP/watch.$RANDOM.out" pid
    wine "$ROMBO_PROBE" watch 4000 "$ROMBO_HWND" "$taskbar" >"$out" 2>&1 &
    pid=$!
    E2E_WINE_PIDS+=("$pid")
    e2e_wait_for 10 grep -q watching "$out" || e2e_fail "the watch did not start"
    rombo_signal
    wait "$pid"
    e2e_assert_eq "0 1 0" "$(tr -d '\r' <"$out" | awk -F'\t' -v h="$ROMBO_HWND" '$1 == h {print $2}')" \
        "cube window during the signal session"
    e2e_assert_eq "1 0 1" "$(tr -d '\r' <"$out" | awk -F'\t' -v h="$taskbar" '$1 == h {print $2}')" \
        "taskbar during the signal session"
}

# expect_foreground HWND WHAT: the keyboard is with that window.
expect_foreground() {
    e2e_wait_for 5 _foreground_is "$1" || e2e_fail "$2: the foreground is $(e2e_probe foreground), expected $1"
}
_foreground_is() { [[ "$(e2e_probe foreground | cut -f1)" == "$1" ]]; }

# Right: every managed window one width to the left. The keyboard leaves the
# window that is parked now for the one that came onto the screen.
e2e_probe activate "$one" >/dev/null || e2e_fail "could not activate one"
rombo_key ctrl+alt+Right
expect_lefts $((100 - W)) $((500 - W)) $((1200 - W))
expect_foreground "$next" "after the switch to desktop 1"
e2e_screenshot "$E2E_TMP/desktop1.png"

# Three more: all back where they were.
for _ in 1 2 3; do
    rombo_key ctrl+alt+Right
    rombo_wait_session_end
    sleep 0.3
done
expect_lefts 100 500 1200

# Left from desktop 0: the current windows park one width to the right.
rombo_key ctrl+alt+Left
expect_lefts $((100 + W)) $((500 + W)) $((1200 + W))
rombo_key ctrl+alt+Right
expect_lefts 100 500 1200

# Activating a parked window from another program turns to its desktop.
e2e_probe activate "$one" >/dev/null
sleep 0.3
e2e_probe activate "$next" >/dev/null
expect_lefts $((100 - W)) $((500 - W)) $((1200 - W))
rombo_key ctrl+alt+Left
expect_lefts 100 500 1200

# The hook's signal file with the left button up: a session opens and
# settles on the face it started from.
xdotool mousemove 512 400
sleep 0.3
watch_session
rombo_wait_session_end
expect_lefts 100 500 1200

# With the button held, dragging 450 pixels right turns a quarter back: on
# release the cube settles on the previous desktop (3).
xdotool mousemove 300 400 mousedown 1
# Let the press reach the system before the cube looks at the button.
sleep 0.5
rombo_signal
e2e_wait_for 5 rombo_shown || e2e_fail "no session"
for x in 390 480 570 660 750; do
    xdotool mousemove $x 400
    sleep 0.15
done
e2e_screenshot "$E2E_TMP/turning.png"
sleep 0.3
xdotool mouseup 1
expect_lefts $((100 + W)) $((500 + W)) $((1200 + W))

# The user's own gesture through the program's mouse hook: Ctrl+Alt and a
# left press grab the cube; dragging 450 pixels left turns on to the next
# desktop (0 again).
xdotool mousemove 800 400
sleep 0.3
xdotool keydown ctrl alt mousedown 1
sleep 0.5
xdotool keyup ctrl alt
e2e_wait_for 5 rombo_shown || e2e_fail "the gesture opened no session"
for x in 710 620 530 440 350; do
    xdotool mousemove $x 400
    sleep 0.15
done
sleep 0.3
xdotool mouseup 1
expect_lefts 100 500 1200
[[ -e "$E2E_TEMP_UNIX/rombodesktop.hook" ]] && e2e_fail "signal file left behind"

# A maximised window reaches past the screen's left edge, so parked one
# desktop back it wraps round to the right. Activating it turns one face
# back and puts it exactly where it was.
e2e_window 100 100 300 200 "maximised" --color 8020a0
maximised=$E2E_WINDOW_HWND
e2e_probe post "$maximised" WM_SYSCOMMAND 0xF030 0 >/dev/null
e2e_wait_for 5 bash -c "(($(rombo_left "$maximised") < 0))" || e2e_fail "the window did not maximise"
max_rect=$(e2e_probe rect "$maximised")
max_left=$(cut -f1 <<<"$max_rect")
e2e_log "maximised: $max_rect"
e2e_probe activate "$one" >/dev/null
rombo_key ctrl+alt+Right
expect_lefts $((100 - W)) $((500 - W)) $((1200 - W))
rombo_wait_left "$maximised" $((max_left - W + 4 * W))
e2e_probe activate "$maximised" >/dev/null
expect_lefts 100 500 1200
e2e_assert_eq "$max_rect" "$(e2e_probe rect "$maximised")" "the maximised window after its round trip"
expect_foreground "$maximised" "after activating the parked maximised window"

# A program that stops answering holds up nothing: with the thread of one
# window suspended, a switch ends on time, the taskbar is back and the others
# are moved; the suspended one follows once its program runs again.
e2e_probe activate "$two" >/dev/null
e2e_probe suspend "$one" >/dev/null || e2e_fail "could not suspend one"
started=$(date +%s%N)
rombo_key ctrl+alt+Right
rombo_wait_left "$two" $((500 - W)) 5
rombo_wait_left "$next" $((1200 - W)) 5
rombo_wait_session_end 5
e2e_assert_eq 1 "$(taskbar_visible)" "taskbar visible with a program not answering"
e2e_log "timing: switch with a suspended window ended after $((($(date +%s%N) - started) / 1000000)) ms"
e2e_assert_eq 100 "$(rombo_left "$one")" "the suspended window before it runs again"
e2e_probe resume "$one" >/dev/null
rombo_wait_left "$one" $((100 - W)) 5
exit 0
