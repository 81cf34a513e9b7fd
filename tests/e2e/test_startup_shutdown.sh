#!/usr/bin/env bash
# Start-up and shutdown as a user sees them: open windows come back after
# the bare-desktop picture, the tray icon and the hotkeys are there, a first
# run writes nothing to the registry, and a close request ends the program
# cleanly, giving the icon and the hotkeys back.
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/rombo.sh"

e2e_start 1024x768
e2e_window 100 120 300 200 "before start" --color 00aa00
before=$E2E_WINDOW_HWND
# A stack of windows, B over C over A, with B active.
e2e_window 300 200 300 200 "A" --color aa0000
a=$E2E_WINDOW_HWND
e2e_window 350 250 300 200 "C" --color 0000aa
c=$E2E_WINDOW_HWND
e2e_window 400 300 300 200 "B" --color aaaa00
b=$E2E_WINDOW_HWND
e2e_probe activate "$b" >/dev/null || e2e_fail "could not activate B"

# stack: the test's windows in the system's order, topmost first.
stack() {
    e2e_probe list | awk -F'\t' -v a="$a" -v b="$b" -v c="$c" -v x="$before" \
        '$1 == a {print "A"} $1 == b {print "B"} $1 == c {print "C"} $1 == x {print "before"}' | tr '\n' ' '
}
visible_of() { e2e_probe list | awk -F'\t' -v h="$1" '$1 == h {print $8}'; }
shown() { [[ "$(visible_of "$1")" == 1 ]]; }
stack_before=$(stack)
e2e_log "stack before start: $stack_before"
e2e_assert_eq "B C A before " "$stack_before" "stack as made"

rombo_start

# The bare-desktop picture left the desktop as it found it.
e2e_wait_for 5 shown "$a" || e2e_fail "A is not shown again"
e2e_assert_eq "$stack_before" "$(stack)" "stack after start-up"
e2e_assert_eq "$b" "$(e2e_probe foreground | cut -f1)" "active window after start-up"

row=$(e2e_probe list | awk -F'\t' -v h="$before" '$1 == h')
e2e_assert_eq $'100\t120\t400\t320\t1' "$(cut -f4-8 <<<"$row")" "window open before start"
e2e_assert_eq 0 "$(rombo_visible)" "main window visibility"
e2e_assert_eq present "$(e2e_probe tray-has "$ROMBO_HWND" 1)" "tray icon"
e2e_assert_eq $'taken\t1409' "$(e2e_probe hotkey-free 3 0x25)" "ctrl+alt+Left"
e2e_assert_eq $'taken\t1409' "$(e2e_probe hotkey-free 3 0x27)" "ctrl+alt+Right"
e2e_assert_eq free "$(e2e_probe hotkey-free 3 0x26)" "ctrl+alt+Up (not ours)"
wine reg query "$ROMBO_KEY" >/dev/null 2>&1 && e2e_fail "a first run created $ROMBO_KEY"

e2e_probe post "$ROMBO_HWND" WM_CLOSE 0 0 >/dev/null || e2e_fail "could not post WM_CLOSE"
e2e_wait_for 15 bash -c "! kill -0 $ROMBO_PID 2>/dev/null" || e2e_fail "program still runs after close"
wait "$ROMBO_PID"
e2e_assert_eq 0 "$?" "exit code"
e2e_assert_eq absent "$(e2e_probe tray-has "$ROMBO_HWND" 1)" "tray icon after quit"
e2e_assert_eq free "$(e2e_probe hotkey-free 3 0x25)" "ctrl+alt+Left after quit"
e2e_assert_eq free "$(e2e_probe hotkey-free 3 0x27)" "ctrl+alt+Right after quit"
wine reg query "$ROMBO_KEY" >/dev/null 2>&1 && e2e_fail "quitting created $ROMBO_KEY"
# Windows of the one desktop there was stay where they are.
e2e_assert_eq 100 "$(rombo_left "$before")" "window after quit"

# A program that does not answer holds up no start-up: every other window
# is shown again, and the suspended one too once it runs again.
e2e_probe suspend "$c" >/dev/null || e2e_fail "could not suspend C"
started=$(date +%s%N)
rombo_start
e2e_log "timing: start-up with a suspended window took $((($(date +%s%N) - started) / 1000000)) ms"
for w in "$a" "$b" "$before"; do
    e2e_wait_for 5 shown "$w" ||
        e2e_fail "window $w is not shown again after a start-up beside a suspended one"
done
e2e_probe resume "$c" >/dev/null
sleep 1
e2e_assert_eq 1 "$(visible_of "$c")" "the suspended window once it runs again"
rombo_quit
exit 0
