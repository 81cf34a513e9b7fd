#!/usr/bin/env bash
# The Win32 implementations of the platform layer against the real system.
# e2e-labels: platform
set -u
. "$(dirname "$0")/lib.sh"
tests=$ROMBO_TEST_BIN_DIR/tests/platform/platform_tests.exe
[[ -f "$tests" ]] || e2e_fail "no $tests (build first)"
e2e_start 1024x768
wine "$tests" 2>&1 | tr -d '\r' >"$E2E_TMP/platform_tests.log"
status=${PIPESTATUS[0]}
grep -E '^\[  (PASSED|FAILED) |^\[  FAILED|Failure|tests? ran' "$E2E_TMP/platform_tests.log" >&2
(( status == 0 )) || { cat "$E2E_TMP/platform_tests.log" >&2; e2e_fail "platform tests failed"; }
exit 0
