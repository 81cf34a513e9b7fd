#!/usr/bin/env bash
# The long soak: tests/e2e/test_soak.sh with 1000 switches (or the count
# given, a multiple of 100), through the e2e runner and its machine-wide
# lock. Build first (scripts/build). Prints the checkpoint table, which is
# also kept in build/soak-<count>.tsv together with every window's rectangle.
#
#   tests/e2e/soak.sh [SWITCHES]
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/../.." && pwd)
switches=${1:-1000}
export ROMBO_WIN64_DIR=${ROMBO_WIN64_DIR:-$repo/dist/win64}
if [[ -z "${ROMBO_PROBE:-}" && -f "$repo/build/win64/tests/e2e/probe/probe.exe" ]]; then
    export ROMBO_PROBE=$repo/build/win64/tests/e2e/probe/probe.exe
fi
report=${SOAK_REPORT:-$repo/build/soak-$switches.tsv}
mkdir -p "$(dirname "$report")"
# About a second per switch; the runner's limit must not cut the run short.
SOAK_SWITCHES=$switches SOAK_REPORT=$report E2E_TIMEOUT=${E2E_TIMEOUT:-$((600 + 2 * switches))} \
    "$here/run" test_soak
status=$?
[[ -s "$report" ]] && grep -v '^rect' "$report"
exit "$status"
