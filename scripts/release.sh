#!/usr/bin/env bash
# Builds the shipped Corvane: the 32-bit corvane.exe and the 64-bit corvane64.exe (Release,
# stripped) with the user guide, README and licence, packed as
# build/release/corvane-<version>-win32.zip.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# Cross-compiling and packing need no Wine, so the release is the same with or without 32-bit Wine.
echo "release: runs nothing under Wine; both programs are built with mingw-w64" \
  "whether or not 32-bit Wine starts here"

for arch in i686 x86_64; do
  echo "== Release build ($arch) =="
  cmake --preset release-$arch >/dev/null
  cmake --build --preset release-$arch
done
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
# The program, and beside it the 64-bit build for a Wine without its 32-bit part.
i686-w64-mingw32-strip -o "$stage/corvane.exe" $build/shell/corvane.exe
x86_64-w64-mingw32-strip -o "$stage/corvane64.exe" build/release-x86_64/shell/corvane.exe
if ! i686-w64-mingw32-objdump -f "$stage/corvane.exe" | grep -q 'file format pei-i386'; then
  echo "release: corvane.exe is not a 32-bit Windows program" >&2
  exit 1
fi
if ! x86_64-w64-mingw32-objdump -f "$stage/corvane64.exe" | grep -q 'file format pei-x86-64'; then
  echo "release: corvane64.exe is not a 64-bit Windows program" >&2
  exit 1
fi
cp build/native/release/HELP.txt "$stage/HELP.txt"
cp $build/release/README-user.txt "$stage/README-user.txt"
# Windows editors expect CRLF line ends (the guide and the README have them already).
sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"

# Reproducible archive: fixed order, the last commit's time on every file, no extra attributes.
stamp=$(git log -1 --format=%cd --date=format:%Y%m%d%H%M.%S 2>/dev/null || date +%Y%m%d%H%M.%S)
touch -t "$stamp" "$stage" "$stage"/*
(cd $out && TZ=UTC zip -X -q -D "$name-win32.zip" "$name/corvane.exe" "$name/corvane64.exe" "$name/HELP.txt" "$name/README-user.txt" \
  "$name/LICENSE.txt")

echo "== $out/$name-win32.zip =="
unzip -l "$out/$name-win32.zip"
