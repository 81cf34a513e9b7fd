#!/bin/sh
# Cross-checks the settings format with Wine's own reg.exe, in the Wine prefix
# named by WINEPREFIX (use a throw-away one: HKCU\Software\RomboDesktop there
# is deleted and rewritten).
#
#   WINEPREFIX=/tmp/prefix tests/platform/test_registry_cli.sh build/registry_store_test.exe
#
# 1. registry_store_test.exe saves known settings; `reg query` must show
#    exactly the expected types and data.
# 2. `reg add` seeds values; the exe must load them back.
set -eu

if [ "$#" -ne 1 ]; then
  echo "usage: $0 path/to/registry_store_test.exe" >&2
  exit 2
fi
: "${WINEPREFIX:?set WINEPREFIX to a Wine prefix}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
EXE=$1
WINE=${WINE:-$(command -v wine64 || command -v wine)}
KEY='HKCU\Software\RomboDesktop'
FOUR='    '  # reg.exe separates name, type and data with four spaces

reg() { "$WINE" reg "$@" </dev/null; }
run_test() {
  "$WINE" "$EXE" --gtest_also_run_disabled_tests --gtest_filter="$1" </dev/null
}
cleanup() { reg delete "$KEY" /f >/dev/null 2>&1 || true; }
trap cleanup EXIT

failures=0

# --- 1. What SaveSettings writes, as reg.exe sees it -------------------------
cleanup
run_test 'RealKey.DISABLED_Save'
shown=$(reg query "$KEY" | tr -d '\r')
expected_lines="\
${FOUR}idioma${FOUR}REG_SZ${FOUR}Deutsch
${FOUR}velocidad${FOUR}REG_BINARY${FOUR}000000606666E63F
${FOUR}zoom${FOUR}REG_BINARY${FOUR}000000A09999C93F
${FOUR}fondo${FOUR}REG_SZ${FOUR}C:\\fondo azul.bmp
${FOUR}tapasuperior${FOUR}REG_SZ${FOUR}
${FOUR}tapainferior${FOUR}REG_SZ${FOUR}%TEMP%\\b.bmp"

missing=0
while IFS= read -r line; do
  if ! printf '%s\n' "$shown" | grep -Fxq -- "$line"; then
    echo "MISSING from reg query: [$line]"
    missing=1
  fi
done <<END
$expected_lines
END
if [ "$missing" -ne 0 ]; then
  echo "reg query showed:"
  printf '%s\n' "$shown"
  failures=$((failures + 1))
fi
value_lines=$(printf '%s\n' "$shown" | grep -c "^${FOUR}[^ ]" || true)
if [ "$value_lines" -ne 6 ]; then
  echo "expected 6 values, reg query shows $value_lines"
  failures=$((failures + 1))
fi

# --- 2. What reg.exe writes, as LoadSettings reads it ------------------------
cleanup
reg add "$KEY" /v idioma /t REG_SZ /d Francais /f >/dev/null
reg add "$KEY" /v velocidad /t REG_BINARY /d 000000606666e63f /f >/dev/null
reg add "$KEY" /v zoom /t REG_BINARY /d 000000403333d33f /f >/dev/null
reg add "$KEY" /v fondo /t REG_EXPAND_SZ /d '%TEMP%\x.bmp' /f >/dev/null
reg add "$KEY" /v tapasuperior /t REG_SZ /d '' /f >/dev/null
reg add "$KEY" /v tapainferior /t REG_SZ /d 'C:\b.bmp' /f >/dev/null
run_test 'RealKey.DISABLED_Load' || failures=$((failures + 1))

if [ "$failures" -ne 0 ]; then
  echo "test_registry_cli: $failures check(s) failed"
  exit 1
fi
echo "test_registry_cli: all checks passed"
