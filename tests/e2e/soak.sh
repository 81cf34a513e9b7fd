#!/usr/bin/env bash
# The long soak: tests/e2e/test_soak.sh with 1000 switches (or the count
# given, a multiple of 100), through run_test and the machine-wide e2e lock.
# Build first (scripts/build). Prints the checkpoint table, which is also
# kept in build/soak-<count>.tsv together with every window's rectangle.
#
#   tests/e2e/soak.sh [SWITCHES]
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/../.." && pwd)
switches=${1:-1000}
report=${SOAK_REPORT:-$repo/build/soak-$switches.tsv}
mkdir -p "$(dirname "$report")"
# About a second per switch; the limit must not cut the run short.
SOAK_SWITCHES=$switches SOAK_REPORT=$report "$here/run_test" "$here/test_soak.sh" $((600 + 2 * switches))
status=$?
[[ -s "$report" ]] && grep -v '^rect' "$report"
exit "$status"
