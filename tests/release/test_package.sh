#!/usr/bin/env bash
# Packaging of the shipped 32-bit files with language files (whose names may
# hold spaces and non-ASCII letters), and the static release check against
# packages that are wrong in one way each: every damaged case must be refused.
# Usage: tests/release/test_package.sh [dist dir, default dist/win32]
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
dist=${1:-$root/dist/win32}
version=$("$root/scripts/version" "$root/build/win32") || exit 1
work=$(mktemp -d "${TMPDIR:-/tmp}/rombo-test-package.XXXXXX")
trap 'rm -rf "$work"' EXIT
passed=0
failed=0
result() {  # name, ok(0/1)
  if [ "$2" -eq 0 ]; then passed=$((passed + 1)); echo "PASS $1"; else failed=$((failed + 1)); echo "FAIL $1"; fi
}

# pack <case>: a fresh input (the build's files and three language files) and
# its packages in $work/<case>/{in,out}.
pack() {
  local in=$work/$1/in
  mkdir -p "$in"
  cp "$dist/RomboDesktop.exe" "$dist/librombo.dll" "$in/"
  printf '<Common>\r\nOK OK\r\n</Common>\r\n' >"$in/Deutsch.lang"
  printf '<Common>\r\nOK Aceptar\r\n</Common>\r\n' >"$in/Español.lang"
  printf '<Common>\r\nOK OK\r\n</Common>\r\n' >"$in/Português do Brasil.lang"
  "$root/scripts/package" win32 "$in" "$version" "$work/$1/out" >/dev/null
}
check() { "$root/scripts/check-release" "$work/$1/out" "$work/$1/in" "${2:-$version}" >"$work/$1.log" 2>&1; }

pack good && check good
result "packages with language files pass the check" $?

# Each damage: case name, then what is done to a good package.
damage_wrong_version() { check wrong_version 0.0.1; }
damage_language_not_packed() { printf 'x\r\n' >"$work/language_not_packed/in/Italiano.lang"; check language_not_packed; }
damage_readme_lf() {
  local d=$work/readme_lf/out z=RomboDesktop-$version-win32.zip
  (cd "$work/readme_lf" && mkdir x && cd x && unzip -q "$d/$z" && sed -i 's/\r$//' RomboDesktop-*/README.txt &&
    rm "$d/$z" && python3 -c 'import glob,sys,zipfile; z=zipfile.ZipFile(sys.argv[1],"w"); [z.write(n) for n in glob.glob("*/*")]' "$d/$z")
  check readme_lf
}
damage_names_not_utf8() {
  local d=$work/names_not_utf8/out z=RomboDesktop-$version-win32.zip
  local f=RomboDesktop-$version
  (cd "$work/names_not_utf8" && cp -r in "$f" && cp "$root/package/README.txt" "$f/README.txt" &&
    cp "$root/LICENSE" "$f/LICENSE.txt" && sed -i 's/$/\r/' "$f/README.txt" "$f/LICENSE.txt" && rm "$d/$z" &&
    zip -q -X "$d/$z" "$f"/*)
  check names_not_utf8
}
# The files at the zip's root, as "extract here" would scatter them.
damage_zip_without_folder() {
  local d=$work/zip_without_folder/out z=RomboDesktop-$version-win32.zip
  (cd "$work/zip_without_folder" && mkdir x && cd x && unzip -q "$d/$z" && rm "$d/$z" && cd RomboDesktop-* &&
    python3 -c 'import os,sys,zipfile; z=zipfile.ZipFile(sys.argv[1],"w"); [z.write(n) for n in os.listdir(".")]' "$d/$z")
  check zip_without_folder
}
damage_installer_64bit() {
  "$root/scripts/package" win64 "$work/installer_64bit/in" "$version" "$work/installer_64bit/w64" >/dev/null &&
    cp "$work/installer_64bit/w64/RomboDesktop-$version-win64-setup.exe" \
      "$work/installer_64bit/out/RomboDesktop-$version-setup.exe"
  check installer_64bit
}
damage_program_changed() { printf 'x' >>"$work/program_changed/in/RomboDesktop.exe"; check program_changed; }

for name in wrong_version language_not_packed readme_lf names_not_utf8 zip_without_folder installer_64bit \
  program_changed; do
  pack "$name" || { result "$name: packaging" 1; continue; }
  if "damage_$name"; then result "$name is refused" 1; else result "$name is refused ($(tail -n1 "$work/$name.log"))" 0; fi
done
echo "package: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
