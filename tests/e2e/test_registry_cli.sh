#!/usr/bin/env bash
# The settings format cross-checked with Wine's own reg.exe: what the store
# writes shows exactly so in `reg query`, and what `reg add` seeds loads back.
# e2e-labels: platform
set -u
. "$(dirname "$0")/lib.sh"
tests=$ROMBO_TEST_BIN_DIR/tests/platform/platform_tests.exe
[[ -f "$tests" ]] || e2e_fail "no $tests (build first)"
e2e_start 1024x768
"$E2E_REPO_DIR/tests/platform/test_registry_cli.sh" "$tests" >"$E2E_TMP/cli.log" 2>&1 ||
    { cat "$E2E_TMP/cli.log" >&2; e2e_fail "reg.exe cross-check failed"; }
exit 0
