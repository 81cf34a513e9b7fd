# shellcheck shell=bash
# Helpers for the tests of the release packages (zip and installer); brings
# lib.sh and rombo.sh along. A test starts with release_begin.
#
# The packages are made by scripts/package from the x86_64 twin in
# $ROMBO_WIN64_DIR (the shipped i686 ones cannot run here), with the same
# installer script and the same file list as the release.

. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
. "$(dirname "${BASH_SOURCE[0]}")/rombo.sh"

RELEASE_VERSION=$("$E2E_REPO_DIR/scripts/version" "$ROMBO_TEST_BIN_DIR") || e2e_fail "no version"
RELEASE_RUN_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
RELEASE_UNINSTALL_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\RomboDesktop'
# The language file the tests pack when the build has none of its own yet.
RELEASE_SAMPLE_LANG=Testlang.lang
# Bound for a silent install or uninstall; a hung one fails the test instead.
RELEASE_SETUP_TIMEOUT_S=120

# release_paths: where a per-user install of this test's prefix lands, as Unix
# paths (RELEASE_INSTDIR, RELEASE_SHORTCUT) and the Windows path of the
# program (RELEASE_INSTALLED_EXE_WIN).
release_paths() {
    local userdir user
    userdir=$(dirname "$E2E_TEMP_UNIX")
    user=$(basename "$userdir")
    RELEASE_INSTDIR="$userdir/AppData/Local/Programs/Rombo Desktop"
    RELEASE_SHORTCUT="$userdir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Rombo Desktop.lnk"
    RELEASE_INSTALLED_EXE_WIN="C:\\users\\$user\\AppData\\Local\\Programs\\Rombo Desktop\\RomboDesktop.exe"
}

# release_input: the files to pack, $E2E_TMP/input: the built program and
# library and its language files, or the sample one while the build has none.
release_input() {
    RELEASE_INPUT=$E2E_TMP/input
    mkdir -p "$RELEASE_INPUT"
    cp "$ROMBO_WIN64_DIR/RomboDesktop.exe" "$ROMBO_WIN64_DIR/librombo.dll" "$RELEASE_INPUT/"
    if compgen -G "$ROMBO_WIN64_DIR/*.lang" >/dev/null; then
        cp "$ROMBO_WIN64_DIR"/*.lang "$RELEASE_INPUT/"
    else
        printf '<Common>\r\nOK Okay\r\n</Common>\r\n' >"$RELEASE_INPUT/$RELEASE_SAMPLE_LANG"
    fi
}

# release_package <version>: packs $RELEASE_INPUT; prints the output dir.
release_package() {
    local out=$E2E_TMP/packages-$1
    "$E2E_REPO_DIR/scripts/package" win64 "$RELEASE_INPUT" "$1" "$out" >&2 || e2e_fail "packaging $1 failed"
    echo "$out"
}

# release_installer <version>: packs $RELEASE_INPUT; prints the installer's path.
release_installer() {
    local out
    out=$(release_package "$1") || exit 1
    echo "$out/RomboDesktop-$1-win64-setup.exe"
}

# release_sign_input: signs $RELEASE_INPUT's program and library with a
# throwaway self-signed certificate ($RELEASE_CERT) and has scripts/package
# sign the installer and its uninstaller with it too.
release_sign_input() {
    RELEASE_CERT=$E2E_TMP/sign-cert.pem
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Rombo Desktop test signing" \
        -addext "extendedKeyUsage=codeSigning" -keyout "$E2E_TMP/sign-key.pem" -out "$RELEASE_CERT" \
        >"$E2E_TMP/openssl.log" 2>&1 || e2e_fail "no certificate: $(cat "$E2E_TMP/openssl.log")"
    export ROMBO_SIGN_CERT=$RELEASE_CERT ROMBO_SIGN_KEY=$E2E_TMP/sign-key.pem
    "$E2E_REPO_DIR/scripts/sign" "$RELEASE_INPUT/RomboDesktop.exe" "$RELEASE_INPUT/librombo.dll" >&2 ||
        e2e_fail "signing the input failed"
}

# release_expect_signed <file>...: each file carries a valid signature of $RELEASE_CERT.
release_expect_signed() {
    local f
    for f in "$@"; do
        osslsigncode verify -CAfile "$RELEASE_CERT" -in "$f" >"$E2E_TMP/verify.log" 2>&1 ||
            e2e_fail "${f##*/} is not signed: $(tail -n 3 "$E2E_TMP/verify.log")"
    done
}

# release_begin: the test's desktop and prefix, the install paths and the input to pack.
release_begin() {
    e2e_start 1024x768
    release_paths
    release_input
}

# release_setup <setup.exe> [switches]: runs an installer or uninstaller to its
# end (bounded); prints how long it took in ms; its exit status is kept.
release_setup() {
    local t0 rc
    t0=$(_e2e_now_ms)
    timeout "$RELEASE_SETUP_TIMEOUT_S" wine "$@" >>"$E2E_TMP/setup.log" 2>&1
    rc=$?
    echo $(( $(_e2e_now_ms) - t0 ))
    return "$rc"
}

# release_reg_values <key>: "name<TAB>type<TAB>data" for each value of the key.
release_reg_values() {
    wine reg query "$1" 2>/dev/null | tr -d '\r' | awk '
        match($0, /^    [^ ].*    REG_[A-Z_]+/) {
            line = substr($0, 5)
            i = match(line, /    REG_[A-Z_]+/)
            name = substr(line, 1, i - 1)
            rest = substr(line, i + 4)
            type = rest; sub(/ .*/, "", type)
            data = substr(rest, length(type) + 1); sub(/^    /, "", data)
            print name "\t" type "\t" data
        }'
}

# release_value <values> <name>: "type<TAB>data" of one value from release_reg_values.
release_value() {
    awk -F'\t' -v n="$2" '$1 == n { print $2 "\t" $3; found = 1 } END { exit !found }' <<<"$1"
}

# release_program_window [not_hwnd]: the main window of a running copy (other
# than not_hwnd); 1 when there is none.
release_program_window() {
    local h
    for h in $(e2e_probe find TForm1 wndRomboDesktop); do
        [[ "$h" != "${1:-}" ]] && { echo "$h"; return 0; }
    done
    return 1
}

# release_prefix_processes <regex>: pids of this test's prefix whose command line matches.
release_prefix_processes() {
    local p
    for p in $(pgrep -f -- "$1" 2>/dev/null); do
        tr '\0' '\n' 2>/dev/null <"/proc/$p/environ" | grep -qx "WINEPREFIX=$WINEPREFIX" && echo "$p"
    done
}

# release_uninstall [switches]: runs the installed uninstaller and waits for
# its end: it finishes from a copy of itself in %TEMP% (~nsu*.tmp) after its
# first process has ended. Prints how long it all took in ms.
release_uninstall() {
    local t0
    t0=$(_e2e_now_ms)
    release_setup "$RELEASE_INSTDIR/uninstall.exe" "$@" >/dev/null || e2e_fail "uninstall $* failed ($?)"
    e2e_wait_for "$RELEASE_SETUP_TIMEOUT_S" _release_no_uninstaller || e2e_fail "the uninstaller did not end"
    echo $(( $(_e2e_now_ms) - t0 ))
}
_release_no_uninstaller() { [[ -z "$(release_prefix_processes '~nsu|uninstall\.exe')" ]]; }

# release_check_running_from <hwnd> <windows exe path>: the copy that owns the
# window runs from that file and shows its tray icon.
release_check_running_from() {
    e2e_assert_eq "$2" "$(e2e_probe exe-path "$1")" "program file of window $1"
    e2e_wait_for 10 e2e_probe tray-has "$1" 1 || e2e_fail "no tray icon for the copy in $2"
}

# release_copies_running: how many RomboDesktop.exe processes of this test's
# prefix exist (a started process shows at once, before its window does).
release_copies_running() { release_prefix_processes 'RomboDesktop\.exe' | wc -l; }

# release_next_version <x.y.z>: the version after it (patch + 1).
release_next_version() {
    local IFS=.
    # shellcheck disable=SC2206  # split on the dots
    local part=($1)
    echo "${part[0]}.${part[1]}.$((part[2] + 1))"
}

# release_hkcu_lines <pattern>: lines of the whole current-user hive that match.
release_hkcu_lines() {
    wine reg query HKCU /s 2>/dev/null | tr -d '\r' | grep -i -- "$1"
}

# release_timing <what> <ms>: one line the report of a run can quote.
release_timing() { e2e_log "timing: $1 took $2 ms"; }
