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
# moment after which a signal file would have been there.
#
# Environment:
#   HOOK_BUILD_DIR  folder with hook_host.exe and librombo.dll (x86_64);
#                   built from hook/ into a scratch folder when unset.
set -euo pipefail

HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
REPO="$(cd "$HERE/../.." && pwd)"
SIGNAL_NAME="rombodesktop.hook"
HOST_LIFETIME_SECONDS=300     # safety net only; the test quits the host
STEP_TIMEOUT_SECONDS=20       # deadline for one expected reaction
DESKTOP_X=500
DESKTOP_Y=400

if [[ -f "$HERE/lib.sh" ]]; then
  # shellcheck source=/dev/null
  source "$HERE/lib.sh"
else
  # Minimal stand-in for the shared harness, with the same entry points.
  E2E_XVFB_PID=""
  E2E_ROOT=""
  e2e_wine() { wine "$@"; }
  e2e_wait_for() {  # e2e_wait_for SECONDS COMMAND [ARGS...]
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
      ((SECONDS < deadline)) || return 1
      sleep 0.1
    done
  }
  e2e_start() {
    E2E_ROOT="$(mktemp -d /tmp/rombo-e2e.XXXXXX)"
    local display=77
    while [[ -e /tmp/.X11-unix/X$display || -e /tmp/.X$display-lock ]]; do
      display=$((display + 1))
    done
    export DISPLAY=":$display"
    Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp \
      >"$E2E_ROOT/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    e2e_wait_for 20 test -e "/tmp/.X11-unix/X$display"
    export WINEPREFIX="$E2E_ROOT/prefix" WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    wineboot -i >"$E2E_ROOT/wineboot.log" 2>&1
    # Low-level mouse hooks fire only inside a Wine virtual desktop.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f \
      >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default \
      /d 1024x768 /f >/dev/null 2>&1
    wineserver -k || true
    wineserver -w
    local temp_win
    temp_win="$(wine cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')"
    E2E_TEMP_UNIX="$(winepath -u "$temp_win" 2>/dev/null)"
    mkdir -p "$E2E_TEMP_UNIX"
    export E2E_TEMP_UNIX
  }
  e2e_stop() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    if [[ -n "$E2E_XVFB_PID" ]]; then
      kill "$E2E_XVFB_PID" 2>/dev/null || true
      wait "$E2E_XVFB_PID" 2>/dev/null || true
    fi
    [[ -n "$E2E_ROOT" ]] && rm -rf "$E2E_ROOT"
  }
fi

# A host that died must fail the checks, not kill the script with SIGPIPE.
trap '' PIPE

WORK="$(mktemp -d /tmp/rombo-hook-test.XXXXXX)"
PASSED=0
FAILED=0
HOST_PID=""

cleanup() {
  xdotool mouseup 1 mouseup 3 keyup ctrl alt 2>/dev/null || true
  exec 3>&- 2>/dev/null || true
  [[ -n "$HOST_PID" ]] && kill "$HOST_PID" 2>/dev/null || true
  e2e_stop || true
  rm -rf "$WORK"
}
trap cleanup EXIT

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
BUILD="${HOOK_BUILD_DIR:-}"
if [[ -z "$BUILD" ]]; then
  BUILD="$WORK/build"
  cmake -S "$REPO/hook" -B "$BUILD" -DCMAKE_SYSTEM_NAME=Windows \
    -DCMAKE_CXX_COMPILER=x86_64-w64-mingw32-g++ \
    -DCMAKE_BUILD_TYPE=Release >"$WORK/cmake.log" 2>&1
  cmake --build "$BUILD" >>"$WORK/cmake.log" 2>&1
fi
[[ -f "$BUILD/hook_host.exe" && -f "$BUILD/librombo.dll" ]] || {
  echo "hook_host.exe or librombo.dll missing in $BUILD" >&2
  exit 1
}

e2e_start
SIGNAL="$E2E_TEMP_UNIX/$SIGNAL_NAME"

# --- host control -----------------------------------------------------------
HOST_OUT="$WORK/host.out"

start_host() {  # start_host [HOST ARGS...]
  local fifo="$WORK/host.in"
  rm -f "$fifo" "$HOST_OUT"
  mkfifo "$fifo"
  : >"$HOST_OUT"
  e2e_wine "$BUILD/hook_host.exe" --seconds "$HOST_LIFETIME_SECONDS" "$@" \
    <"$fifo" >"$HOST_OUT" 2>"$WORK/host.err" &
  HOST_PID=$!
  exec 3>"$fifo"
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
  wait "$HOST_PID" 2>/dev/null || true
  HOST_PID=""
  return $ok
}

host_has_more_lines_than() { (($(wc -l <"$HOST_OUT") > $1)); }

# Sends one command and prints the host's answer.
ask() {
  local before
  before=$(wc -l <"$HOST_OUT")
  echo "$1" >&3
  e2e_wait_for "$STEP_TIMEOUT_SECONDS" host_has_more_lines_than "$before" ||
    return 1
  sed -n "$((before + 1))p" "$HOST_OUT"
}

lbutton_is() { [[ "$(ask lbutton)" == "lbutton $1" ]]; }
# Waits until the host sees the left button in state $1 (down/up).
await_lbutton() { e2e_wait_for "$STEP_TIMEOUT_SECONDS" lbutton_is "$1"; }

signal_present() { [[ -f "$SIGNAL" ]]; }
signal_absent() { [[ ! -e "$SIGNAL" ]]; }
no_staging_left() {
  [[ -z "$(find "$E2E_TEMP_UNIX" -maxdepth 1 -name "$SIGNAL_NAME.*")" ]]
}

# click_with KEYS... : left press and release with the given keys held;
# returns once the host has seen the press.
click_with() {
  local keys=("$@")
  ((${#keys[@]} == 0)) || xdotool keydown "${keys[@]}"
  local seen=0
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
check "signal file holds one byte" test "$(stat -c %s "$SIGNAL")" -eq 1
check "no staging file left behind" no_staging_left

rm -f "$SIGNAL"
check "plain click is passed on" click_with
check "plain click writes nothing" signal_absent

check "ctrl-only click is passed on" click_with ctrl
check "ctrl-only click writes nothing" signal_absent

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
check "plain drag is passed on" plain_drag
check "plain drag writes nothing" signal_absent

# Right button with ctrl+alt is not the gesture. The probe watches only the
# left button, so a plain left click afterwards is the barrier: input is
# handled in order, so the right press had been seen before it.
xdotool keydown ctrl alt
xdotool click 3
xdotool keyup ctrl alt
check "plain click after ctrl+alt+right click is passed on" click_with
check "ctrl+alt+right click writes nothing" signal_absent

# An existing file, even a stale one with other content, is replaced whole.
printf 'stale content' >"$SIGNAL"
check "gesture after a plain press still works" click_with ctrl alt
check "existing signal file is replaced" test "$(stat -c %s "$SIGNAL")" -eq 1

# Install twice, uninstall once: nothing must be left hooked.
rm -f "$SIGNAL"
check "second install answers" test "$(ask install)" = installed
check "uninstall answers" test "$(ask uninstall)" = uninstalled
check "uninstall again is harmless" test "$(ask uninstall)" = uninstalled
check "click after uninstall is passed on" click_with ctrl alt
check "no signal after uninstall (no leaked second hook)" signal_absent

check "reinstall answers" test "$(ask install)" = installed
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
DEEP_WIN="$(e2e_wine winepath -w "$DEEP_UNIX" 2>/dev/null | tr -d '\r')"
check "deep temp path puts the staging name past MAX_PATH" \
  test $((${#DEEP_WIN} + 1 + ${#SIGNAL_NAME} + 12)) -gt 260
start_host --temp "$DEEP_WIN"
xdotool mousemove "$DESKTOP_X" "$DESKTOP_Y"
check "gesture with a deep temp directory" click_with ctrl alt
check "signal file written into the deep temp directory" \
  test -f "$DEEP_UNIX/$SIGNAL_NAME"
check "default temp directory untouched then" signal_absent
check "second host exits on request" stop_host

echo "$PASSED passed, $FAILED failed"
((FAILED == 0))
