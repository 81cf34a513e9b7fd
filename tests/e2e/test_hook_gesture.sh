#!/usr/bin/env bash
# End to end: the real librombo.dll hook under Wine, driven by X input.
#
# A test host (hook/tests/hook_host.cpp) binds librombo through its import
# library and installs the hook for a hidden window. xdotool then presses
# keys and buttons on the Wine virtual desktop, and the checks look at the
# prefix's %TEMP% for the signal file "rombodesktop.hook".
#
# Negative checks ("nothing written") need to know that the hook has already
# seen the press: the host reports GetAsyncKeyState(VK_LBUTTON), which Wine,
# like Windows, updates only after the low-level hooks have passed the event
# on. So "lbutton down" both proves the click was not stolen and marks the
# moment after which the hook had asked its thread for the file; the file
# itself is written just after, so "nothing written" must also hold for a
# short while. Positive checks wait (bounded) for the expected file state
# rather than looking once.
#
# Environment:
#   HOOK_BUILD_DIR  folder with hook_host.exe and librombo.dll (x86_64);
#                   default the build's ($ROMBO_TEST_BIN_DIR/hook).
#   HOOK_STEP_TIMEOUT  seconds to wait for one expected reaction (20).
set -u

HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
SIGNAL_NAME="rombodesktop.hook"
HOST_LIFETIME_SECONDS=300     # safety net only; the test quits the host
STEP_TIMEOUT_SECONDS=${HOOK_STEP_TIMEOUT:-20}  # deadline for one reaction
DESKTOP_X=500
DESKTOP_Y=400
ABSENT_LOOKS=5                # "nothing written" holds for 0.5 s

# shellcheck source=lib.sh
. "$HERE/lib.sh"

# A host that died must fail the checks, not kill the script with SIGPIPE.
trap '' PIPE

PASSED=0
FAILED=0

check() {  # check NAME COMMAND [ARGS...]
  local name=$1
  shift
  if "$@"; then
    PASSED=$((PASSED + 1))
    echo "ok   - $name"
  else
    FAILED=$((FAILED + 1))
    echo "FAIL - $name"
  fi
}

# --- binaries ---------------------------------------------------------------
BUILD="${HOOK_BUILD_DIR:-$ROMBO_TEST_BIN_DIR/hook}"
[[ -f "$BUILD/hook_host.exe" && -f "$BUILD/librombo.dll" ]] ||
  e2e_fail "hook_host.exe or librombo.dll missing in $BUILD (build first: scripts/build win64)"

e2e_start 1024x768
release_input() {
  xdotool mouseup 1 mouseup 3 keyup ctrl alt >/dev/null 2>&1 || true
  exec 3>&- 2>/dev/null || true
}
trap 'release_input; e2e_stop' EXIT
SIGNAL="$E2E_TEMP_UNIX/$SIGNAL_NAME"

# --- host control -----------------------------------------------------------
HOST_OUT=""
HOST_PID=""
HOST_RUNS=0

start_host() {  # start_host [HOST ARGS...]
  local fifo="$E2E_TMP/host.in"
  HOST_RUNS=$((HOST_RUNS + 1))
  HOST_OUT="$E2E_TMP/hook_host.$HOST_RUNS.out"
  rm -f "$fifo"
  mkfifo "$fifo"
  # Opened read-write first: Linux does not block that open, so the host's
  # read-only open below finds a writer and does not block either.
  exec 3<>"$fifo"
  # Started by hand rather than with e2e_wine, which gives a background
  # program /dev/null as its input; registered so that e2e_stop ends it.
  wine "$BUILD/hook_host.exe" --seconds "$HOST_LIFETIME_SECONDS" "$@" \
    <"$fifo" >"$HOST_OUT" 2>"$HOST_OUT.err" &
  HOST_PID=$!
  E2E_WINE_PIDS+=("$HOST_PID")
  e2e_wait_for "$STEP_TIMEOUT_SECONDS" grep -qx ready "$HOST_OUT"
}

host_gone() { ! kill -0 "$HOST_PID" 2>/dev/null; }

# Asks the host to quit; fails unless it says goodbye and its process ends.
stop_host() {
  local ok=0
  echo quit >&3
  e2e_wait_for "$STEP_TIMEOUT_SECONDS" grep -qx bye "$HOST_OUT" || ok=1
  exec 3>&-
  e2e_wait_for "$STEP_TIMEOUT_SECONDS" host_gone || ok=1
  return $ok
}

count_answers() { grep -cxE "$1" "$HOST_OUT" || true; }
answers_more_than() { (($(count_answers "$1") > $2)); }

# ask COMMAND ANSWER-REGEX: sends one command and prints the host's answer.
# Matching on the answer keeps Wine's own messages in the log out of it.
ask() {
  local before
  before=$(count_answers "$2")
  echo "$1" >&3
  e2e_wait_for "$STEP_TIMEOUT_SECONDS" answers_more_than "$2" "$before" ||
    return 1
  grep -xE "$2" "$HOST_OUT" | tail -n 1
}

lbutton_is() { [[ "$(ask lbutton 'lbutton (down|up)')" == "lbutton $1" ]]; }
# Waits until the host sees the left button in state $1 (down/up).
await_lbutton() { e2e_wait_for "$STEP_TIMEOUT_SECONDS" lbutton_is "$1"; }

signal_present() { [[ -f "$SIGNAL" ]]; }
signal_of_one_byte() { [[ -f "$SIGNAL" && "$(stat -c %s "$SIGNAL")" -eq 1 ]]; }
signal_absent() {
  local i
  for ((i = 0; i < ABSENT_LOOKS; i++)); do
    [[ ! -e "$SIGNAL" ]] || return 1
    sleep 0.1
  done
}
threads_now() { ask threads 'threads -?[0-9]+' | cut -d' ' -f2; }
threads_are() { [[ "$(threads_now)" == "$1" ]]; }
no_staging_left() {
  [[ -z "$(find "$E2E_TEMP_UNIX" -maxdepth 1 -name "$SIGNAL_NAME.*")" ]]
}

# click_with KEYS... : left press and release with the given keys held;
# fails unless the host sees the button go down and up again.
click_with() {
  local keys=("$@") seen=0
  ((${#keys[@]} == 0)) || xdotool keydown "${keys[@]}"
  xdotool mousedown 1
  await_lbutton down || seen=1
  xdotool mouseup 1
  ((${#keys[@]} == 0)) || xdotool keyup "${keys[@]}"
  await_lbutton up || seen=1
  return $seen
}

# --- checks -----------------------------------------------------------------
check "host loads librombo and installs the hook" start_host
xdotool mousemove "$DESKTOP_X" "$DESKTOP_Y"
rm -f "$SIGNAL"

# The gesture, with the button held: file there, button still down.
xdotool keydown ctrl alt
xdotool mousedown 1
check "ctrl+alt+left press writes the signal file" \
  e2e_wait_for "$STEP_TIMEOUT_SECONDS" signal_present
check "the press is passed on: left button still down" await_lbutton down
xdotool mouseup 1
xdotool keyup ctrl alt
check "release is passed on: left button up again" await_lbutton up
check "signal file holds one byte" e2e_wait_for "$STEP_TIMEOUT_SECONDS" signal_of_one_byte
check "no staging file left behind" no_staging_left

rm -f "$SIGNAL"
check "plain click is passed on" click_with
check "plain click writes nothing" signal_absent

rm -f "$SIGNAL"
check "ctrl-only click is passed on" click_with ctrl
check "ctrl-only click writes nothing" signal_absent

rm -f "$SIGNAL"
check "alt-only click is passed on" click_with alt
check "alt-only click writes nothing" signal_absent

plain_drag() {
  local seen=0
  xdotool mousedown 1
  await_lbutton down || seen=1
  xdotool mousemove "$((DESKTOP_X + 120))" "$((DESKTOP_Y + 60))"
  xdotool mouseup 1
  await_lbutton up || seen=1
  xdotool mousemove "$DESKTOP_X" "$DESKTOP_Y"
  return $seen
}
rm -f "$SIGNAL"
check "plain drag is passed on" plain_drag
check "plain drag writes nothing" signal_absent

# Right button with ctrl+alt is not the gesture. The probe watches only the
# left button, so a plain left click afterwards is the barrier: input is
# handled in order, so the right press had been seen before it.
rm -f "$SIGNAL"
xdotool keydown ctrl alt
xdotool click 3
xdotool keyup ctrl alt
check "plain click after ctrl+alt+right click is passed on" click_with
check "ctrl+alt+right click writes nothing" signal_absent

# An existing file, even a stale one with other content, is replaced whole.
printf 'stale content' >"$SIGNAL"
check "gesture over a stale signal file is passed on" click_with ctrl alt
check "existing signal file is replaced" \
  e2e_wait_for "$STEP_TIMEOUT_SECONDS" signal_of_one_byte

# Install twice, uninstall once: nothing must be left hooked, and the
# library's two threads (the hook's, the signal file's writer) come and go
# with the hook.
LIBRARY_THREADS=2
rm -f "$SIGNAL"
HOOKED_THREADS=$(threads_now)
check "host counts its threads" test "${HOOKED_THREADS:--1}" -gt "$LIBRARY_THREADS"
check "second install answers" test "$(ask install installed)" = installed
check "second install starts no second thread" threads_are "$HOOKED_THREADS"
check "uninstall answers" test "$(ask uninstall uninstalled)" = uninstalled
check "uninstall ends the library's threads" threads_are $((HOOKED_THREADS - LIBRARY_THREADS))
check "uninstall again is harmless" test "$(ask uninstall uninstalled)" = uninstalled
check "no thread gone or added by the second uninstall" \
  threads_are $((HOOKED_THREADS - LIBRARY_THREADS))
check "click after uninstall is passed on" click_with ctrl alt
check "no signal after uninstall (no leaked second hook)" signal_absent

check "reinstall answers" test "$(ask install installed)" = installed
check "reinstall starts the library's threads again" threads_are "$HOOKED_THREADS"
check "gesture after reinstall" click_with ctrl alt
check "signal file written again after reinstall" signal_present
check "host exits on request" stop_host

# A temporary directory so deep that the staging name passes MAX_PATH.
rm -f "$SIGNAL"
DEEP_UNIX="$E2E_TEMP_UNIX"
while ((${#DEEP_UNIX} - ${#E2E_TEMP_UNIX} < 210)); do
  DEEP_UNIX="$DEEP_UNIX/deep-directory-level-$((${#DEEP_UNIX} % 97))"
done
mkdir -p "$DEEP_UNIX"
DEEP_WIN="$(wine winepath -w "$DEEP_UNIX" 2>/dev/null | tr -d '\r')"
check "deep temp path puts the staging name past MAX_PATH" \
  test $((${#DEEP_WIN} + 1 + ${#SIGNAL_NAME} + 12)) -gt 260
start_host --temp "$DEEP_WIN"
xdotool mousemove "$DESKTOP_X" "$DESKTOP_Y"
check "gesture with a deep temp directory" click_with ctrl alt
check "signal file written into the deep temp directory" \
  test -f "$DEEP_UNIX/$SIGNAL_NAME"
check "default temp directory untouched then" signal_absent
check "second host exits on request" stop_host

# A temporary directory whose name the ANSI code page cannot spell, as a
# profile name in another script: the file lands in it, found by the short
# name the program looks under too. The arguments reach Wine as UTF-8.
rm -f "$SIGNAL"
GREEK_NAME="Ωμέγα"
mkdir -p "$E2E_TEMP_UNIX/$GREEK_NAME"
TEMP_WIN="$(wine winepath -w "$E2E_TEMP_UNIX" 2>/dev/null | tr -d '\r')"
LC_ALL=C.UTF-8 start_host --temp "$TEMP_WIN\\$GREEK_NAME"
xdotool mousemove "$DESKTOP_X" "$DESKTOP_Y"
check "gesture with a temp directory outside the code page" click_with ctrl alt
check "signal file written into that directory" \
  e2e_wait_for "$STEP_TIMEOUT_SECONDS" test -f "$E2E_TEMP_UNIX/$GREEK_NAME/$SIGNAL_NAME"
check "default temp directory untouched then" signal_absent
check "third host exits on request" stop_host

echo "$PASSED passed, $FAILED failed"
((FAILED == 0))
