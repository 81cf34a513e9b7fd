#!/usr/bin/env bash
# Stored settings are read at start-up over the defaults: the stored speed
# shows in how long a switch takes, a damaged value falls back to the default
# for it and everything read after it, and running never rewrites the store.
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/rombo.sh"

e2e_start 1024x768
e2e_window 100 120 300 200 "mover"
mover=$E2E_WINDOW_HWND

# switch_ms: milliseconds from Ctrl+Alt+Right until the window has moved one
# screen width and the cube has gone.
switch_ms() {
    local from to t0
    from=$(rombo_left "$mover")
    to=$(( from - 1024 < -1024 ? from + 3 * 1024 : from - 1024 ))
    t0=$(date +%s%N)
    rombo_key ctrl+alt+Right
    rombo_wait_left "$mover" "$to" 20
    rombo_wait_session_end
    echo $(( ($(date +%s%N) - t0) / 1000000 ))
}

rombo_seed idioma REG_SZ Espanol
rombo_seed velocidad REG_BINARY "$(rombo_double_hex 0.9)"
rombo_seed zoom REG_BINARY "$(rombo_double_hex 0.5)"
rombo_seed fondo REG_EXPAND_SZ '%TEMP%\back.png'
rombo_start
fast=$(switch_ms)
rombo_quit
e2e_log "speed 0.9: ${fast} ms"

rombo_seed velocidad REG_BINARY "$(rombo_double_hex 0.2)"
rombo_start
slow=$(switch_ms)
rombo_quit
e2e_log "speed 0.2: ${slow} ms"

# A number stored as a DWORD: speed and everything after it keep defaults.
rombo_seed velocidad REG_DWORD 1
rombo_start
default=$(switch_ms)
rombo_quit
e2e_log "speed stored as DWORD (default 0.3): ${default} ms"

# 0.9 settles in 4 steps, 0.3 in 165, 0.2 in 561 (10 ms each).
(( fast < 1200 )) || e2e_fail "speed 0.9 took $fast ms"
(( slow > 4500 )) || e2e_fail "speed 0.2 took only $slow ms"
(( default > 1400 && default < 4500 )) || e2e_fail "default speed took $default ms"

# Running never writes the store: the seeded values are as they were.
e2e_assert_eq Espanol "$(e2e_reg_query "$ROMBO_KEY" idioma)" "idioma"
e2e_assert_eq 0x1 "$(e2e_reg_query "$ROMBO_KEY" velocidad)" "velocidad"
e2e_assert_eq "$(rombo_double_hex 0.5 | tr a-f A-F)" "$(e2e_reg_query "$ROMBO_KEY" zoom)" "zoom"
exit 0
