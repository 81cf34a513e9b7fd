#!/usr/bin/env bash
# The cube as a person sees it: held with the left button after the hook's
# signal, the camera pulls back and the current desktop shows shrunken,
# upright and unmirrored, with the black background around it; tilted down
# and up, the caps show the pictures chosen in the settings (a BMP decoded
# by the system, a PNG by the program). A hotkey switch ends on the next
# desktop with the cube window gone.
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/rombo.sh"

W=1024
H=768
e2e_start ${W}x${H}
release() { xdotool mouseup 1 >/dev/null 2>&1 || true; }
trap 'release; e2e_stop' EXIT
# Top-left and bottom-right windows: a mirrored or flipped face would swap them.
e2e_window 40 80 300 200 "top left" --color 2050c0
topleft=$E2E_WINDOW_HWND
e2e_window 660 420 300 200 "bottom right" --color c05020

# Cap pictures, chosen through the registry as the settings dialog stores
# them: all six values, since reading stops at the first one missing.
pics="$WINEPREFIX/drive_c/pics"
mkdir -p "$pics"
convert -size 96x64 xc:'#30c040' BMP3:"$pics/top.bmp"
convert -size 80x80 xc:'#d030b0' PNG24:"$pics/bottom.png"
rombo_seed idioma REG_SZ English
rombo_seed velocidad REG_BINARY "$(rombo_double_hex 0.3)"
rombo_seed zoom REG_BINARY "$(rombo_double_hex 0.2)"
rombo_seed fondo REG_SZ ''
rombo_seed tapasuperior REG_SZ 'C:\pics\top.bmp'
rombo_seed tapainferior REG_SZ 'C:\pics\bottom.png'
rombo_start

# zoomed <x> <y>: where a desktop point shows with the camera pulled back by
# the default zoom 0.2 (the face covers 1/1.2 of the screen about its centre).
zoomed() { awk -v x="$1" -v y="$2" -v w=$W -v h=$H 'BEGIN { printf "%d %d", w/2 + (x - w/2)/1.2, h/2 + (y - h/2)/1.2 }'; }

shot=$E2E_TMP/zoomed-out.png
xdotool mousemove 512 300 mousedown 1
sleep 0.5
rombo_signal
e2e_wait_for 5 rombo_shown || e2e_fail "the signal opened no session"
# The pull-back eases in by speed cubed (0.3: 99% after 1.7 s).
sleep 2.5
e2e_screenshot "$shot"
rombo_artifact "$shot"
read -r x y < <(zoomed 190 180)
rombo_expect_colour "$shot" "$x" "$y" 2050c0 12 "top-left window"
read -r x y < <(zoomed 810 520)
rombo_expect_colour "$shot" "$x" "$y" c05020 12 "bottom-right window"
for corner in "4 4" "$((W - 5)) 4" "4 $((H - 5))" "$((W - 5)) $((H - 5))"; do
    # shellcheck disable=SC2086
    rombo_expect_colour "$shot" $corner 000000 0 "background corner"
done
# The face's left edge: background just outside, desktop just inside.
read -r x y < <(zoomed 0 384)
rombo_expect_colour "$shot" $((x - 4)) "$y" 000000 0 "outside the face"
[[ "$(rombo_pixel "$shot" $((x + 6)) "$y")" != 000000 ]] || e2e_fail "the face does not reach its edge"

# Tilted down by 90 degrees (450 pixels), the top cap faces the viewer.
for yy in 345 390 435 480 525 570 615 660 705 750; do
    xdotool mousemove 512 "$yy"
    sleep 0.1
done
sleep 0.5
e2e_screenshot "$E2E_TMP/top-cap.png"
rombo_artifact "$E2E_TMP/top-cap.png"
rombo_expect_colour "$E2E_TMP/top-cap.png" 512 384 30c040 6 "top cap (BMP)"
xdotool mouseup 1
rombo_wait_session_end
e2e_assert_eq 40 "$(rombo_left "$topleft")" "window after a turn that settled back"

# Tilted up, the bottom cap.
xdotool mousemove 512 750 mousedown 1
sleep 0.5
rombo_signal
e2e_wait_for 5 rombo_shown || e2e_fail "the signal opened no session"
for yy in 705 660 615 570 525 480 435 390 345 300; do
    xdotool mousemove 512 "$yy"
    sleep 0.1
done
sleep 0.5
e2e_screenshot "$E2E_TMP/bottom-cap.png"
rombo_artifact "$E2E_TMP/bottom-cap.png"
rombo_expect_colour "$E2E_TMP/bottom-cap.png" 512 384 d030b0 6 "bottom cap (PNG)"
xdotool mouseup 1
rombo_wait_session_end

# A hotkey switch turns to the next desktop and leaves the desktop bare of
# the cube: the windows moved one width left, the cube window hidden, and
# the screen shows the desktop again.
rombo_key ctrl+alt+Right
rombo_wait_left "$topleft" $((40 - W))
rombo_wait_session_end
sleep 0.3
e2e_screenshot "$E2E_TMP/after-switch.png"
[[ "$(rombo_pixel "$E2E_TMP/after-switch.png" 4 4)" != 000000 ]] || e2e_fail "the cube is still on the screen"
exit 0
