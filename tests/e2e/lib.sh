# shellcheck shell=bash
# End-to-end test library: each test gets its own Xvfb, its own WINEPREFIX
# (copied from a cached template) and a Wine virtual desktop.
#
# Use in a test script:
#   . "$(dirname "$0")/lib.sh"
#   e2e_start 1024x768          # exports DISPLAY WINEPREFIX E2E_TMP E2E_TEMP_UNIX E2E_DESKTOP_XID
#   e2e_wine "$ROMBO_WIN64_DIR/rombo.exe"
#   hwnd=$(e2e_probe find RomboClass) || e2e_fail "no main window"
#   ...                         # e2e_stop runs on exit via trap
#
# Environment:
#   ROMBO_WIN64_DIR   built Windows x86_64 binaries (default <repo>/dist/win64)
#   ROMBO_TEST_BIN_DIR  their build, with the test tools (default <repo>/build/win64)
#   ROMBO_PROBE       probe.exe (default the build's, tests/e2e/probe/probe.exe)
#   ROMBO_CACHE       cache dir (default ~/.cache/rombodesktop); holds the prefix template
#   E2E_TASKBAR=0     no taskbar (Wine shows none by default; the template turns
#                     it on, like on Windows, via Explorer\Desktops\Default EnableShell)
#   E2E_KEEP=1        keep $E2E_TMP after the test (logs, prefix) for debugging
#   E2E_PREFIX_COPY   "link" (default: hard-link the prefix's DLL/EXE files, copy the rest)
#                     or "full" (cp -a everything, about 1 s more)

E2E_LIB_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
E2E_REPO_DIR=$(cd "$E2E_LIB_DIR/../.." && pwd)
: "${ROMBO_WIN64_DIR:=$E2E_REPO_DIR/dist/win64}"
: "${ROMBO_TEST_BIN_DIR:=$E2E_REPO_DIR/build/win64}"
: "${ROMBO_PROBE:=$ROMBO_TEST_BIN_DIR/tests/e2e/probe/probe.exe}"
: "${ROMBO_CACHE:=$HOME/.cache/rombodesktop}"
export ROMBO_WIN64_DIR ROMBO_TEST_BIN_DIR ROMBO_PROBE ROMBO_CACHE

# -all also silences Debian's "wine32 is missing" hint; winemenubuilder
# would write .desktop files into $HOME.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

E2E_XVFB_PID=
E2E_WINE_PIDS=()
E2E_LAST_PID=
E2E_STARTED=

e2e_log() { printf '[e2e %s] %s\n' "$(date +%H:%M:%S.%N | cut -c1-12)" "$*" >&2; }

e2e_fail() {
    printf 'FAIL: %s\n' "$*" >&2
    exit 1
}

# e2e_assert_eq <expected> <actual> [what]
e2e_assert_eq() {
    if [[ "$1" != "$2" ]]; then
        e2e_fail "${3:-value}: expected '$1', got '$2'"
    fi
}

# e2e_assert_match <extended-regex> <actual> [what]
e2e_assert_match() {
    if ! [[ "$2" =~ $1 ]]; then
        e2e_fail "${3:-value}: '$2' does not match /$1/"
    fi
}

_e2e_now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# e2e_lock: one run at a time on a machine: the tests drive the mouse and
# keyboard of their desktop and measure timing, so two runs side by side
# would disturb each other. Waits for a run already going, then holds the
# lock (fd 9) until the caller ends; what it starts inherits the hold
# (E2E_LOCK_HELD).
e2e_lock() {
    [[ -n "${E2E_LOCK_HELD:-}" ]] && return 0
    mkdir -p "$ROMBO_CACHE"
    exec 9>"$ROMBO_CACHE/e2e.lock"
    if ! flock -n 9; then
        echo "e2e: waiting for another run on this machine to finish" >&2
        flock 9
    fi
    export E2E_LOCK_HELD=1
}

# e2e_wait_for <timeout_s> <command...>: polls every 0.1 s; 0 when the command
# succeeded, 1 (with a message) on timeout. Timeout may be fractional.
e2e_wait_for() {
    local timeout=$1
    shift
    local deadline=$(( $(_e2e_now_ms) + $(awk -v t="$timeout" 'BEGIN{printf "%d", t*1000}') ))
    while :; do
        if "$@" >/dev/null 2>&1; then return 0; fi
        if (( $(_e2e_now_ms) >= deadline )); then
            e2e_log "timed out after ${timeout}s waiting for: $*"
            return 1
        fi
        sleep 0.1
    done
}

# e2e_reg_add <key> <name> <type> <data>: stores a registry value with
# Wine's reg.exe. Now and then in a long run it has failed once where the
# same command succeeds when run again, so a failed attempt is logged with
# its exit status and what it printed, and tried twice more.
e2e_reg_add() {
    local attempt out rc
    for attempt in 1 2 3; do
        out=$(wine reg add "$1" /v "$2" /t "$3" /d "$4" /f 2>&1) && return 0
        rc=$?
        e2e_log "timing: reg add $2 failed (attempt $attempt, exit $rc): $(tr -d '\r' <<<"$out" | head -n3)"
        sleep 0.5
    done
    e2e_fail "reg add $2"
}

_e2e_wine_key() {
    # The template is only valid for the wine build that made it: wine
    # re-runs its prefix update when wine.inf changes, so key on both.
    local ver inf
    ver=$(wine --version 2>/dev/null | tr -cd 'A-Za-z0-9._-')
    inf=$(stat -c %Y /usr/share/wine/wine.inf 2>/dev/null || echo 0)
    # bump the last part when the template's content changes
    echo "${ver:-unknown}-$inf-t2"
}

# Debian's wine keeps the server socket dir in /tmp/wine-XXXXXX and records
# its path in $WINEPREFIX/wineserver; a copied prefix must not share it.
_e2e_remove_server_dir() {
    local pfx=$1 dir
    [[ -f "$pfx/wineserver" ]] || return 0
    dir=$(cat "$pfx/wineserver" 2>/dev/null)
    rm -f "$pfx/wineserver"
    [[ "$dir" == wine-* ]] && dir=/tmp/$dir
    [[ "$dir" == /tmp/wine-* && -d "$dir" ]] && rm -rf "$dir"
    return 0
}

_e2e_make_template() {
    local tpl=$1 tmp="$1.tmp.$$" start
    start=$(_e2e_now_ms)
    e2e_log "creating wine prefix template $tpl (once per wine version)"
    rm -rf "$tmp"
    (
        export WINEPREFIX=$tmp
        unset DISPLAY
        wineboot -i >"$tmp.log" 2>&1 || exit 1
        cat >"$tmp/drive_c/e2e-template.reg" <<'EOF'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops\Default]
"EnableShell"=dword:00000001
EOF
        wine regedit /S 'C:\e2e-template.reg' >>"$tmp.log" 2>&1 || exit 1
        winepath -u "$(wine cmd /c 'echo %TEMP%' 2>/dev/null | tr -d '\r')" >"$tmp/e2e-temp-path" 2>>"$tmp.log" || exit 1
        wineserver -w
    ) || { e2e_log "template creation failed, see $tmp.log"; return 1; }
    rm -f "$tmp/drive_c/e2e-template.reg"
    # Store the TEMP dir relative to the prefix so copies can derive theirs.
    local temp_unix
    # winepath answers through dosdevices/c:; store the real directory
    temp_unix=$(realpath -m "$(cat "$tmp/e2e-temp-path")")
    [[ "$temp_unix" == "$tmp"/* ]] || { e2e_log "unexpected TEMP path $temp_unix"; return 1; }
    echo "${temp_unix#"$tmp"/}" >"$tmp/e2e-temp-path"
    # User folders are symlinks to $HOME; tests must not write there.
    local l
    while IFS= read -r l; do
        rm -f "$l" && mkdir -p "$l"
    done < <(find "$tmp/drive_c/users" -type l)
    _e2e_remove_server_dir "$tmp"
    rm -rf "$tpl" && mv "$tmp" "$tpl" && mv "$tmp.log" "$tpl.log"
    e2e_log "template ready in $(( $(_e2e_now_ms) - start )) ms"
}

_e2e_template() {
    local tpl
    tpl="$ROMBO_CACHE/wineprefix-template-$(_e2e_wine_key)"
    mkdir -p "$ROMBO_CACHE"
    # Parallel runs must not build the same template twice.
    (
        flock 9
        [[ -f "$tpl/system.reg" && -f "$tpl/e2e-temp-path" ]] || _e2e_make_template "$tpl"
    ) 9>"$ROMBO_CACHE/template.lock" || return 1
    echo "$tpl"
}

_e2e_copy_prefix() {
    local tpl=$1 dst=$2
    if [[ "${E2E_PREFIX_COPY:-link}" == full ]]; then
        cp -a "$tpl" "$dst"
        return
    fi
    # Wine only reads its installed DLLs/EXEs (the template is keyed on the
    # wine build, so no prefix update rewrites them): share those by hard
    # link, give each test its own copy of everything else.
    cp -al "$tpl" "$dst" || return 1
    find "$dst" -type f ! \( -path "$dst/drive_c/windows/*" \( -iname '*.dll' -o -iname '*.exe' \
        -o -iname '*.drv' -o -iname '*.sys' -o -iname '*.nls' -o -iname '*.ocx' -o -iname '*.acm' \
        -o -iname '*.cpl' -o -iname '*.tlb' -o -iname '*.ax' -o -iname '*.ds' -o -iname '*.com' \) \) \
        -exec sh -c 'for f; do cp -p "$f" "$f.e2e" && mv -f "$f.e2e" "$f"; done' sh {} +
}

# When run by tests/e2e/run, leave a note of what was started so the runner
# can clean up after a test that was killed before its trap ran.
_e2e_note() {
    [[ -n "${E2E_STATE_FILE:-}" ]] && echo "$*" >>"$E2E_STATE_FILE"
    return 0
}

_e2e_start_xvfb() {
    local w=$1 h=$2 fdfile="$E2E_TMP/xvfb.display" i
    : >"$fdfile"
    # The screen is a bit larger than the virtual desktop so nothing the
    # desktop draws is clipped; 24-bit for exact colours in screenshots.
    Xvfb -displayfd 3 -screen 0 "$((w + 64))x$((h + 64))x24" -nolisten tcp -noreset \
        3>"$fdfile" >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    _e2e_note "xvfb $E2E_XVFB_PID"
    for ((i = 0; i < 100; i++)); do
        if grep -q '^[0-9]\+$' "$fdfile" 2>/dev/null; then
            DISPLAY=":$(head -n1 "$fdfile")"
            export DISPLAY
            return 0
        fi
        kill -0 "$E2E_XVFB_PID" 2>/dev/null || break
        sleep 0.05
    done
    e2e_log "Xvfb did not start: $(cat "$E2E_TMP/xvfb.log")"
    return 1
}

_e2e_desktop_xid() {
    local id
    id=$(xdotool search --name '^Default - Wine desktop$' 2>/dev/null | head -n1)
    [[ -n "$id" ]] && echo "$id"
}

# _e2e_begin: the traps that end what a test starts, and its work dir.
_e2e_begin() {
    trap e2e_stop EXIT
    trap 'exit 143' TERM
    trap 'exit 130' INT
    E2E_STARTED=1
    E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/rombo-e2e.XXXXXX") || e2e_fail "mktemp failed"
    export E2E_TMP
    _e2e_note "tmp $E2E_TMP"
}

# _e2e_new_prefix: a fresh prefix from the template, and its temp dir.
_e2e_new_prefix() {
    local tpl
    tpl=$(_e2e_template) || e2e_fail "no wine prefix template"
    export WINEPREFIX="$E2E_TMP/prefix"
    _e2e_copy_prefix "$tpl" "$WINEPREFIX" || e2e_fail "copying the prefix template failed"
    E2E_TEMP_UNIX="$WINEPREFIX/$(cat "$WINEPREFIX/e2e-temp-path")"
    mkdir -p "$E2E_TEMP_UNIX"
    export E2E_TEMP_UNIX
}

# e2e_start [WxH]: Xvfb + fresh prefix + virtual desktop of that size.
e2e_start() {
    local size=${1:-1024x768} w h t0 t1
    [[ "$size" =~ ^([0-9]+)x([0-9]+)$ ]] || e2e_fail "e2e_start: bad size '$size'"
    w=${BASH_REMATCH[1]} h=${BASH_REMATCH[2]}
    t0=$(_e2e_now_ms)
    _e2e_begin
    _e2e_new_prefix
    # The desktop size lives in user.reg; edit it before any wine process
    # runs, which is much cheaper than 'wine reg add'.
    sed -i "/^\[Software\\\\\\\\Wine\\\\\\\\Explorer\\\\\\\\Desktops\]/,/^\[/ s/^\"Default\"=\".*\"/\"Default\"=\"${w}x${h}\"/" \
        "$WINEPREFIX/user.reg"
    grep -q "^\"Default\"=\"${w}x${h}\"" "$WINEPREFIX/user.reg" || e2e_fail "could not set the desktop size"
    if [[ "${E2E_TASKBAR:-1}" == 0 ]]; then
        sed -i 's/^"EnableShell"=dword:00000001/"EnableShell"=dword:00000000/' "$WINEPREFIX/user.reg"
    fi
    t1=$(_e2e_now_ms)

    _e2e_start_xvfb "$w" "$h" || e2e_fail "Xvfb failed"
    wine explorer "/desktop=Default,${w}x${h}" >"$E2E_TMP/explorer.log" 2>&1 &
    E2E_WINE_PIDS+=("$!")
    e2e_wait_for 30 _e2e_desktop_xid || e2e_fail "virtual desktop window did not appear"
    E2E_DESKTOP_XID=$(_e2e_desktop_xid)
    export E2E_DESKTOP_XID
    # The X window exists before the Windows side answers; wait until a
    # program sees the desktop at the right size.
    if [[ -f "$ROMBO_PROBE" ]]; then
        e2e_wait_for 30 _e2e_screen_is "$w" "$h" || e2e_fail "desktop is not ${w}x${h}: $(e2e_probe screen)"
    fi
    E2E_START_MS=$(( $(_e2e_now_ms) - t0 ))
    e2e_log "started: DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX desktop=${w}x${h} xid=$E2E_DESKTOP_XID" \
        "(prefix $(( t1 - t0 )) ms, total $E2E_START_MS ms)"
}

# e2e_start_monitors <placement> [WxH]: a server with two monitors and no
# virtual desktop, Wine's windows straight on the X screen: the primary
# 1024x768 and a second one of WxH (default 800x600) placed by xrandr
# --right-of, --left-of, --above or --below it. Xorg's dummy driver gives
# Wine real monitors (Xvfb has one screen). A prefix keeps the monitors of
# the server it was first used on, so the test's prefix starts on this one.
e2e_start_monitors() {
    local placement=$1 size=${2:-800x600} fdfile
    [[ "$placement" =~ ^--(right-of|left-of|above|below)$ ]] || e2e_fail "e2e_start_monitors: bad placement '$placement'"
    _e2e_begin
    fdfile="$E2E_TMP/xorg.display"
    : >"$fdfile"
    Xorg -config "$E2E_LIB_DIR/xorg-dummy.conf" -noreset -nolisten tcp -logfile "$E2E_TMP/xorg.log" \
        -displayfd 3 3>"$fdfile" >"$E2E_TMP/xorg.out" 2>&1 &
    E2E_XVFB_PID=$!
    _e2e_note "xvfb $E2E_XVFB_PID"
    e2e_wait_for 10 grep -q '^[0-9]\+$' "$fdfile" || e2e_fail "Xorg did not start: $(tail -n 5 "$E2E_TMP/xorg.log")"
    DISPLAY=":$(head -n1 "$fdfile")"
    export DISPLAY
    xrandr --output DUMMY0 --mode 1024x768 --primary &&
        xrandr --addmode DUMMY1 "$size" &&
        xrandr --output DUMMY1 --mode "$size" "$placement" DUMMY0 || e2e_fail "xrandr could not place the monitors"
    # Wine reads the monitors once, when it first meets the server, and
    # without asking the server to probe its outputs; a full query does.
    xrandr >/dev/null || e2e_fail "xrandr could not query the monitors"
    _e2e_new_prefix
    # No virtual desktop: it would be one monitor.
    sed -i '/^\[Software\\\\Wine\\\\Explorer\] /,/^\[/ {/^"Desktop"="Default"/d}' "$WINEPREFIX/user.reg"
    grep -q '^"Desktop"="Default"' "$WINEPREFIX/user.reg" && e2e_fail "could not turn the virtual desktop off"

    E2E_MONITORS=$(e2e_probe monitors)
    [[ "$(grep -c '^monitor' <<<"$E2E_MONITORS")" == 2 ]] || e2e_fail "Wine sees: $E2E_MONITORS"
    e2e_log "started: DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX monitors:" $E2E_MONITORS
}

_e2e_screen_is() { [[ "$(e2e_probe screen)" == "$1"$'\t'"$2" ]]; }

# e2e_stop: ends only what e2e_start began. Safe to call twice. Every wait
# is bounded so a hung Windows process cannot keep the test from cleaning up.
e2e_stop() {
    local rc=$? p i
    [[ -n "$E2E_STARTED" ]] || return "$rc"
    E2E_STARTED=
    trap - EXIT TERM INT
    if [[ -n "${WINEPREFIX:-}" && -d "$WINEPREFIX" ]]; then
        WINEPREFIX=$WINEPREFIX timeout 10 wineserver -k >/dev/null 2>&1
        for p in "${E2E_WINE_PIDS[@]}"; do
            kill -KILL "$p" 2>/dev/null
        done
        for ((i = 0; i < 50; i++)); do
            _e2e_server_running || break
            sleep 0.1
        done
        _e2e_remove_server_dir "$WINEPREFIX"
    fi
    if [[ -n "$E2E_XVFB_PID" ]]; then
        kill "$E2E_XVFB_PID" 2>/dev/null
        for ((i = 0; i < 50; i++)); do
            kill -0 "$E2E_XVFB_PID" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$E2E_XVFB_PID" 2>/dev/null
        E2E_XVFB_PID=
    fi
    if [[ -n "${E2E_TMP:-}" && -d "$E2E_TMP" ]]; then
        if [[ "${E2E_KEEP:-0}" == 1 ]]; then
            e2e_log "kept $E2E_TMP"
        else
            rm -rf "$E2E_TMP"
        fi
    fi
    return "$rc"
}

# Is a wineserver of this test's prefix still up? (its socket dir has a lock)
_e2e_server_running() {
    local p
    for p in $(pgrep -x wineserver64 2>/dev/null; pgrep -x wineserver 2>/dev/null); do
        [[ "$(tr '\0' '\n' 2>/dev/null <"/proc/$p/environ" | grep -m1 '^WINEPREFIX=')" == "WINEPREFIX=$WINEPREFIX" ]] && return 0
    done
    return 1
}

# e2e_wine <exe> [args]: starts a Windows program in the background; its
# output goes to $E2E_TMP/<name>.<n>.log; sets E2E_LAST_PID (Linux pid).
e2e_wine() {
    local exe=$1 log
    shift
    log="$E2E_TMP/$(basename "$exe").${#E2E_WINE_PIDS[@]}.log"
    wine "$exe" "$@" >"$log" 2>&1 &
    E2E_LAST_PID=$!
    E2E_WINE_PIDS+=("$E2E_LAST_PID")
}

# e2e_probe <subcommand> [args]: runs the probe, stdout without CRs, keeps its exit status.
e2e_probe() {
    wine "$ROMBO_PROBE" "$@" | tr -d '\r'
    return "${PIPESTATUS[0]}"
}

# e2e_window <x> <y> <w> <h> <title> [probe window options]: opens a probe
# window in the background and sets E2E_WINDOW_HWND to its handle.
e2e_window() {
    local out="$E2E_TMP/window.${#E2E_WINE_PIDS[@]}.out"
    : >"$out"
    wine "$ROMBO_PROBE" window "$@" >"$out" 2>&1 &
    E2E_LAST_PID=$!
    E2E_WINE_PIDS+=("$E2E_LAST_PID")
    e2e_wait_for 20 grep -q '^0x[0-9a-f]*' "$out" || e2e_fail "probe window '$5' did not start: $(cat "$out")"
    # shellcheck disable=SC2034  # for the calling test
    E2E_WINDOW_HWND=$(grep -o '^0x[0-9a-f]*' "$out" | head -n1)
}

# e2e_screenshot <file.png>: the whole X screen as shown.
e2e_screenshot() {
    import -display "$DISPLAY" -window root "$1"
}

# e2e_reg_query <key> <value>: prints the data of a registry value; 1 if absent.
e2e_reg_query() {
    local out
    out=$(wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r') || return 1
    awk -v name="$2" '
        { line = $0; sub(/^[ \t]+/, "", line) }
        index(tolower(line), tolower(name)) == 1 {
            rest = substr(line, length(name) + 1)
            if (match(rest, /^[ \t]+REG_[A-Z_]+[ \t]*/)) { print substr(rest, RLENGTH + 1); found = 1; exit }
        }
        END { exit !found }' <<<"$out"
}
