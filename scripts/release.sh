#!/usr/bin/env bash
# Builds the shipped Corvane: the 32-bit corvane.exe (Release, stripped) with its user guide,
# README and licence, packed as build/release/corvane-<version>-win32.zip.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

echo "== 32-bit Release build =="
cmake --preset release-i686 >/dev/null
cmake --build --preset release-i686
build=build/release-i686
name=$(cat $build/release/name)  # corvane-<version>, from CMakeLists.txt
out=build/release
stage=$out/$name

# The user guide is the help text the program itself shows (F1), written by the help text's own
# parser in the native build.
echo "== user guide =="
cmake --preset native >/dev/null
cmake --build --preset native --target user_guide

rm -rf "$stage" "$out/$name-win32.zip"
mkdir -p "$stage"
i686-w64-mingw32-strip -o "$stage/corvane.exe" $build/shell/corvane.exe
if ! i686-w64-mingw32-objdump -f "$stage/corvane.exe" | grep -q 'file format pei-i386'; then
  echo "release: corvane.exe is not a 32-bit Windows program" >&2
  exit 1
fi
cp build/native/release/HELP.txt "$stage/HELP.txt"
cp $build/release/README-user.txt "$stage/README-user.txt"
# Windows editors expect CRLF line ends (the guide and the README have them already).
sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"

# Reproducible archive: fixed order, the last commit's time on every file, no extra attributes.
stamp=$(git log -1 --format=%cd --date=format:%Y%m%d%H%M.%S 2>/dev/null || date +%Y%m%d%H%M.%S)
touch -t "$stamp" "$stage" "$stage"/*
(cd $out && TZ=UTC zip -X -q -D "$name-win32.zip" "$name/corvane.exe" "$name/HELP.txt" "$name/README-user.txt" \
  "$name/LICENSE.txt")

echo "== $out/$name-win32.zip =="
unzip -l "$out/$name-win32.zip"
