#!/usr/bin/env bash
# A signed release: a throwaway self-signed certificate made with openssl,
# the shipped files signed and packed as scripts/release does it, and every
# signature verified (the zip's files, the installer, and the files and the
# uninstaller inside it); the same package unsigned must fail the check.
# Usage: tests/release/test_signing.sh [dist dir, default dist/win32]
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
dist=${1:-$root/dist/win32}
version=$("$root/scripts/version" "$root/build/win32") || exit 1
work=$(mktemp -d "${TMPDIR:-/tmp}/rombo-test-signing.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL $*"; echo "signing: 0 passed, 1 failed"; exit 1; }

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Rombo Desktop test signing" \
  -addext "extendedKeyUsage=codeSigning" -keyout "$work/key.pem" -out "$work/cert.pem" \
  >"$work/openssl.log" 2>&1 || { cat "$work/openssl.log"; fail "no certificate"; }
pack() {  # <case>: the shipped files, signed as the environment says, and their packages
  mkdir -p "$work/$1/in"
  cp "$dist/RomboDesktop.exe" "$dist/librombo.dll" "$dist"/*.lang "$work/$1/in/"
  "$root/scripts/sign" "$work/$1/in/RomboDesktop.exe" "$work/$1/in/librombo.dll" >/dev/null &&
    "$root/scripts/package" win32 "$work/$1/in" "$version" "$work/$1/out" >/dev/null &&
    "$root/scripts/check-release" "$work/$1/out" "$work/$1/in" "$version" >/dev/null
}

ROMBO_SIGN_CERT=$work/cert.pem ROMBO_SIGN_KEY=$work/key.pem pack signed || fail "signed packaging"
"$root/scripts/check-signatures" "$work/signed/out" "$version" "$work/cert.pem" ||
  fail "the signed release's signatures"
echo "PASS a signed release verifies"
pack unsigned || fail "unsigned packaging"
if "$root/scripts/check-signatures" "$work/unsigned/out" "$version" "$work/cert.pem" >"$work/unsigned.log" 2>&1; then
  fail "an unsigned release passes the signature check"
fi
echo "PASS an unsigned release is refused ($(tail -n1 "$work/unsigned.log"))"
echo "signing: 2 passed, 0 failed"
