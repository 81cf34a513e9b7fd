#!/usr/bin/env bash
# Soak: many switches in one run of the program, mixing Ctrl+Alt+Right,
# Ctrl+Alt+Left, double presses adding up in one session, the user's Ctrl+Alt
# drag through the mouse hook, and sessions opened by a signal file dropped by hand (button up, and
# button held with a drag). Speed 0.9 keeps sessions short.
#
# After every switch: every window stands exactly where its desktop puts it
# (whole screen widths only, top and size unchanged, none lost), the cube is
# hidden and the taskbar visible. Every 100 switches (the last four of them
# Rights, which must restore every rectangle) a checkpoint records, from
# outside, the program's GDI and USER objects, handles, private bytes and
# every window's rectangle. Between checkpoint 2 and the last, objects and
# handles may grow by at most 2 and private bytes (the committed private
# memory of the address space) by at most 1 MiB.
#
# Wine 8 answers GetGuiResources and GetProcessHandleCount with 0, so the
# checkpoints also hold the GDI objects counted in the program's GDI handle
# table, the handles counted in the system handle table and the windows the
# program owns; the same growth limit applies to them.
#
# Environment:
#   SOAK_SWITCHES  switches in all (default 300; tests/e2e/soak.sh runs 1000)
#   SOAK_REPORT    file that receives the checkpoint table (default: the log)
# e2e-timeout: 600
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/rombo.sh"

SWITCHES=${SOAK_SWITCHES:-300}
BLOCK=100              # switches between checkpoints
RESTORE_RIGHTS=4       # the last switches of every block
OBJECT_GROWTH_LIMIT=2
PRIVATE_GROWTH_LIMIT=$((1024 * 1024))
# The system's own private-bytes answer. Under Wine that is the resident
# anonymous memory of the whole process, the renderer's Unix side included,
# which moves up and down by about a texture's worth as buffers are reused
# (60.4 to 63.0 MB and back over 2000 switches); it is held to a looser bound.
SYSTEM_PRIVATE_GROWTH_LIMIT=$((4 * 1024 * 1024))
SETTLE_MS=15000        # longest a switch may take to settle
W=1024
H=768
PRESS_Y=550            # below every window: a press there starts no window move
DRAG=450               # pixels for a quarter turn

((SWITCHES >= BLOCK && SWITCHES % BLOCK == 0)) || e2e_fail "SOAK_SWITCHES must be a multiple of $BLOCK"

e2e_start ${W}x${H}
REPORT=${SOAK_REPORT:-$E2E_TMP/soak-report.tsv}
: >"$REPORT" || e2e_fail "cannot write $REPORT"
SIGNAL="$E2E_TEMP_UNIX/rombodesktop.hook"

# Windows: name, left edge on its own desktop, top, width, height, desktop.
NAMES=(one two three four five)
HOME_X=(40 420 200 600 300)
TOPS=(60 80 100 70 120)
WIDTHS=(300 260 240 220 280)
HEIGHTS=(200 180 160 150 170)
HOME_D=(0 0 1 2 3)
HWNDS=()
current=0

# expected_left HOME_X HOME_D: where the window stands while $current is on screen.
expected_left() {
    local left=$(($1 + (($2 - current + 4) % 4) * W))
    while ((left > 3 * W)); do left=$((left - 4 * W)); done
    while ((left < -W)); do left=$((left + 4 * W)); done
    echo "$left"
}

for i in "${!NAMES[@]}"; do
    e2e_window "$(expected_left "${HOME_X[i]}" "${HOME_D[i]}")" "${TOPS[i]}" "${WIDTHS[i]}" \
        "${HEIGHTS[i]}" "${NAMES[i]}"
    HWNDS+=("$E2E_WINDOW_HWND")
done
e2e_window 760 300 200 150 "layered" --layered
layered=$E2E_WINDOW_HWND
taskbar=$(e2e_probe find Shell_TrayWnd | head -n1) || e2e_fail "no taskbar in the virtual desktop"

rombo_seed velocidad REG_BINARY "$(rombo_double_hex 0.9)"
rombo_start
trap 'xdotool mouseup 1 keyup ctrl alt >/dev/null 2>&1; e2e_stop' EXIT

# Every arrow key the system takes in, and every hotkey message the program
# takes from its queue (probe trace), so that a press lost on its way can be
# told from one the program mishandled.
TRACE=$E2E_TMP/trace.out
wine "$ROMBO_PROBE" trace "$ROMBO_HWND" >"$TRACE" 2>&1 &
E2E_WINE_PIDS+=("$!")
e2e_wait_for 20 grep -q '^tracing' "$TRACE" || e2e_fail "the trace did not start: $(cat "$TRACE")"
presses=0
repeats=0
reasked=0
HOTKEY_WAIT_S=3        # a hotkey message follows its key within milliseconds
PRESS_TRIES=3

declare -A NAME_OF=(["$ROMBO_HWND"]=cube ["$taskbar"]=taskbar ["$layered"]=layered)
for i in "${!HWNDS[@]}"; do NAME_OF[${HWNDS[i]}]=${NAMES[i]}; done

hotkeys_seen() { grep -c '^hotkey' "$TRACE"; }
keys_seen() { grep -cP "^key\t$1\tdown\tctrl\talt" "$TRACE"; }
hotkeys_reach() { (($(hotkeys_seen) >= $1)); }

# press KEY [xdotool option]: one Ctrl+Alt+KEY, pressed again (and counted)
# while the program never received its hotkey message: such a key was lost
# before the program, which this soak does not test. A message that arrived
# and changed nothing still fails the switch's wait.
press() {
    local want=$(($(hotkeys_seen) + 1)) keys tries where
    presses=$((presses + 1))
    for ((tries = 1; ; tries++)); do
        keys=$(keys_seen "$1")
        xdotool key ${2:+"$2"} "ctrl+alt+$1"
        e2e_wait_for "$HOTKEY_WAIT_S" hotkeys_reach "$want" && return 0
        if (($(keys_seen "$1") > keys)); then
            where="the system took the key in, but no hotkey message reached the program"
        else
            where="the key never reached the system"
        fi
        ((tries < PRESS_TRIES)) || e2e_fail "switch $switches: Ctrl+Alt+$1 lost $tries times ($where)"
        repeats=$((repeats + 1))
        e2e_log "switch $switches: Ctrl+Alt+$1 lost before the program ($where); pressed again"
    done
}

# what_stood FILE: the report of a failed wait, by name: each condition as
# expected and as found.
what_stood() {
    local verdict condition hwnd found
    while IFS=$'\t' read -r verdict condition hwnd found; do
        [[ $verdict == *met: ]] || continue
        if [[ $condition == key:* ]]; then
            printf '%s %s; ' "$verdict" "$condition"
            continue
        fi
        printf '%s %s expected %s, found %s; ' "$verdict" "${NAME_OF[${condition%%:*}]:-$hwnd}" \
            "${condition#*:}" "$found"
    done <"$1"
}

# await_switch WHAT: the session has ended and everything stands where the
# current desktop puts it.
await_switch() {
    local conditions=("$ROMBO_HWND:visible=0" "$taskbar:visible=1" "$layered:left=760") i status
    for i in "${!HWNDS[@]}"; do
        conditions+=("${HWNDS[i]}:left=$(expected_left "${HOME_X[i]}" "${HOME_D[i]}")")
    done
    e2e_probe wait "$SETTLE_MS" "${conditions[@]}" >"$E2E_TMP/wait.out" 2>&1 && return 0
    status=$?
    # A probe that printed nothing did not run to its end: ask once more.
    if ! grep -q 'met:' "$E2E_TMP/wait.out"; then
        e2e_log "switch $switches: the probe's wait ended without an answer (exit $status): $(cat "$E2E_TMP/wait.out"); asking again"
        reasked=$((reasked + 1))
        e2e_probe wait "$SETTLE_MS" "${conditions[@]}" >"$E2E_TMP/wait.out" 2>&1 && return 0
        status=$?
    fi
    e2e_fail "switch $switches ($1) to desktop $current did not settle (exit $status):" \
        "$(what_stood "$E2E_TMP/wait.out")" "trace since the press: $(tail -n 6 "$TRACE" | tr '\t\n' ' ;')"
}

hotkey() {  # KEY: one press, one session
    press "$1" --clearmodifiers
    [[ $1 == Right ]] && current=$(((current + 1) % 4)) || current=$(((current + 3) % 4))
    await_switch "$1"
}

# double KEY: two presses that add up in one session. The left button is
# held on the bare desktop, so the session waits for the release and the
# second press lands while the cube is on the screen.
#
# No --clearmodifiers here: it counts the held button as a modifier, lifts it
# for the key and presses it again.
double() {
    press_at 512
    press "$1"
    e2e_probe wait "$SETTLE_MS" "$ROMBO_HWND:visible=1" >/dev/null ||
        e2e_fail "switch $switches: the first of two presses opened no session"
    press "$1"
    sleep 0.2
    xdotool mouseup 1
    current=$(((current + 2) % 4))
    await_switch "2 x $1"
}

signal_up() {  # the signal file with the button up: a session on the same face
    : >"$SIGNAL"
    e2e_wait_for 10 test ! -e "$SIGNAL" || e2e_fail "switch $switches: signal file not consumed"
    sleep 0.2
    await_switch "signal, button up"
}

# press_at X: the left button down on the bare desktop, and seen down by the
# system before anything else happens; the session's first tick must find it
# held, or it settles at once.
press_at() {
    xdotool mousemove "$1" "$PRESS_Y" mousedown 1
    e2e_probe wait "$SETTLE_MS" key:1=1 >/dev/null || e2e_fail "switch $switches: the press was not seen"
}

# drag HOW DX: grab the cube (HOW: gesture = Ctrl+Alt press through the hook,
# file = plain press and a signal file by hand), drag DX pixels, release.
drag() {
    local how=$1 dx=$2 x
    ((dx < 0)) && x=800 || x=250
    xdotool mousemove "$x" "$PRESS_Y"
    if [[ $how == gesture ]]; then
        # As a hand does it: Ctrl and Alt are down before the button, and stay
        # held until the cube is there.
        xdotool keydown ctrl alt
        e2e_probe wait "$SETTLE_MS" key:17=1 key:18=1 >/dev/null ||
            e2e_fail "switch $switches: Ctrl and Alt were not seen down"
        xdotool mousedown 1
    else
        press_at "$x"
        : >"$SIGNAL"
    fi
    e2e_probe wait "$SETTLE_MS" "$ROMBO_HWND:visible=1" >/dev/null ||
        e2e_fail "switch $switches: the $how press opened no session;" \
            "the last press the system took in: $(grep '^press' "$TRACE" | tail -n 1 | tr '\t' ' ');" \
            "signal file $([[ -e $SIGNAL ]] && echo present || echo absent)"
    [[ $how == gesture ]] && xdotool keyup ctrl alt
    xdotool mousemove "$((x + dx))" "$PRESS_Y"
    sleep 0.15
    xdotool mouseup 1
    # Dragging right turns back a desktop, left on to the next.
    ((dx < 0)) && current=$(((current + 1) % 4)) || current=$(((current + 3) % 4))
    await_switch "$how drag $dx"
}

# One switch of the mix, by its number within the block.
MIX=("hotkey Right" "hotkey Left" "double Right" "hotkey Right" "drag gesture -$DRAG"
    "hotkey Left" "double Left" "signal_up" "hotkey Right" "drag file $DRAG"
    "hotkey Left" "drag gesture $DRAG")

rects() {  # every window's rectangle, one line each: name l t r b
    local list i
    list=$(e2e_probe list)
    for i in "${!HWNDS[@]}"; do
        awk -F'\t' -v h="${HWNDS[i]}" -v n="${NAMES[i]}" '$1 == h {print n, $4, $5, $6, $7}' <<<"$list"
    done
    awk -F'\t' -v h="$layered" '$1 == h {print "layered", $4, $5, $6, $7}' <<<"$list"
}

check_rects() {  # every rectangle is the home one shifted to the current desktop
    local expected="" i left
    for i in "${!HWNDS[@]}"; do
        left=$(expected_left "${HOME_X[i]}" "${HOME_D[i]}")
        expected+="${NAMES[i]} $left ${TOPS[i]} $((left + WIDTHS[i])) $((TOPS[i] + HEIGHTS[i]))"$'\n'
    done
    expected+="layered 760 300 960 450"
    e2e_assert_eq "$expected" "$1" "window rectangles at switch $switches"
}

checkpoint() {  # N
    local usage rects_now
    usage=$(e2e_probe usage "$ROMBO_HWND") || e2e_fail "no usage figures at checkpoint $1"
    rects_now=$(rects)
    check_rects "$rects_now"
    printf '%s\t%s\t%s\t%s\n' "$1" "$switches" "$(($(date +%s) - soak_start))" "$usage" >>"$REPORT"
    sed "s/^/rect\t$1\t/" <<<"$rects_now" >>"$REPORT"
    e2e_log "checkpoint $1 after $switches switches: $usage"
}

echo -e "checkpoint\tswitches\tseconds\tgdi\tuser\thandles\tprivate_bytes\tgdi_in_table\thandles_in_table\twindows\tcommitted_private" >>"$REPORT"
switches=0
soak_start=$(date +%s)
checkpoint 0
for ((block = 1; block <= SWITCHES / BLOCK; block++)); do
    for ((n = 0; n < BLOCK - RESTORE_RIGHTS; n++)); do
        ${MIX[n % ${#MIX[@]}]}
        switches=$((switches + 1))
    done
    before=$(rects)
    for ((n = 0; n < RESTORE_RIGHTS; n++)); do
        hotkey Right
        switches=$((switches + 1))
    done
    e2e_assert_eq "$before" "$(rects)" "rectangles after four Rights at switch $switches"
    checkpoint "$block"
done

# Flat from checkpoint 2 on: columns 4-11 of the first and last rows.
read -r -a first < <(awk -F'\t' '$1 == 2' "$REPORT")
read -r -a last < <(awk -F'\t' -v n=$((SWITCHES / BLOCK)) '$1 == n' "$REPORT")
columns=(gdi user handles private_bytes gdi_in_table handles_in_table windows committed_private)
for c in "${!columns[@]}"; do
    growth=$((last[c + 3] - first[c + 3]))
    case ${columns[c]} in
    committed_private) limit=$PRIVATE_GROWTH_LIMIT ;;
    private_bytes) limit=$SYSTEM_PRIVATE_GROWTH_LIMIT ;;
    *) limit=$OBJECT_GROWTH_LIMIT ;;
    esac
    e2e_log "${columns[c]}: ${first[c + 3]} at checkpoint 2, ${last[c + 3]} at the last (growth $growth, limit $limit)"
    ((growth <= limit)) || e2e_fail "${columns[c]} grew by $growth between checkpoint 2 and the last"
done
grep -v '^rect' "$REPORT" >&2
e2e_log "presses: $presses, pressed again after a lost key: $repeats"
echo "timing: $repeats of $presses key presses were lost before the program and pressed again"
echo "timing: $reasked waits for a switch were asked again after the probe gave no answer"
exit 0
