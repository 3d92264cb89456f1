#!/usr/bin/env bash
# Builds the shipped Corvane: the 32-bit corvane.exe and the 64-bit corvane64.exe with the 32-bit
# console program corvane-cli.exe (Release, stripped), the user guide, README and licence, packed as
# build/release/corvane-<version>-win32.zip; and the native corvane-cli (Release, stripped) with its
# man page and the licence, packed as build/release/corvane-cli-<version>-linux-x86_64.tar.gz.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# Cross-compiling and packing need no Wine, so the release is the same with or without 32-bit Wine.
echo "release: runs nothing under Wine; the Windows programs are built with mingw-w64" \
  "whether or not 32-bit Wine starts here"

for arch in i686 x86_64; do
  echo "== Release build ($arch) =="
  cmake --preset release-$arch >/dev/null
  cmake --build --preset release-$arch
done
echo "== Release build (native corvane-cli and its man page) =="
cmake --preset release-native >/dev/null
cmake --build --preset release-native
build=build/release-i686
name=$(cat $build/release/name)  # corvane-<version>, from CMakeLists.txt
version=${name#corvane-}
cli_name=corvane-cli-$version
out=build/release
stage=$out/$name

# The user guide is the help text the program itself shows (F1), written by the help text's own
# parser in the native build.
echo "== user guide =="
cmake --preset native >/dev/null
cmake --build --preset native --target user_guide

rm -rf "$stage" "$out/$name-win32.zip"
mkdir -p "$stage"
# Exact modes whatever the umask, so that the archives are the same on every machine.
umask 022
# The program, the 64-bit build for a Wine without its 32-bit part, and the console program.
i686-w64-mingw32-strip -o "$stage/corvane.exe" $build/shell/corvane.exe
x86_64-w64-mingw32-strip -o "$stage/corvane64.exe" build/release-x86_64/shell/corvane.exe
i686-w64-mingw32-strip -o "$stage/corvane-cli.exe" $build/cli/corvane-cli.exe
if ! i686-w64-mingw32-objdump -f "$stage/corvane.exe" | grep -q 'file format pei-i386'; then
  echo "release: corvane.exe is not a 32-bit Windows program" >&2
  exit 1
fi
if ! x86_64-w64-mingw32-objdump -f "$stage/corvane64.exe" | grep -q 'file format pei-x86-64'; then
  echo "release: corvane64.exe is not a 64-bit Windows program" >&2
  exit 1
fi
if ! i686-w64-mingw32-objdump -f "$stage/corvane-cli.exe" | grep -q 'file format pei-i386'; then
  echo "release: corvane-cli.exe is not a 32-bit Windows program" >&2
  exit 1
fi
cp build/native/release/HELP.txt "$stage/HELP.txt"
cp $build/release/README-user.txt "$stage/README-user.txt"
# Windows editors expect CRLF line ends (the guide and the README have them already).
sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"

# Reproducible archive: fixed order, the last commit's time on every file, no extra attributes.
stamp=$(git log -1 --format=%cd --date=format:%Y%m%d%H%M.%S 2>/dev/null || date +%Y%m%d%H%M.%S)
touch -t "$stamp" "$stage" "$stage"/*
(cd $out && TZ=UTC zip -X -q -D "$name-win32.zip" "$name/corvane.exe" "$name/corvane64.exe" \
  "$name/corvane-cli.exe" "$name/HELP.txt" "$name/README-user.txt" "$name/LICENSE.txt")

# The Linux tarball: what cmake --install puts in place (the program stripped, its man page), so
# that packing it checks the install rules too.
cli_stage=$out/$cli_name
installed=$out/$cli_name-install
rm -rf "$cli_stage" "$installed" "$out/$cli_name-linux-x86_64.tar.gz"
cmake --install build/release-native --prefix "$installed" --strip >/dev/null
mkdir -p "$cli_stage"
cp "$installed/bin/corvane-cli" "$cli_stage/corvane-cli"
cp "$installed/share/man/man1/corvane-cli.1" "$cli_stage/corvane-cli.1"
cp LICENSE "$cli_stage/LICENSE"
rm -rf "$installed"
chmod 755 "$cli_stage/corvane-cli"
chmod 644 "$cli_stage/corvane-cli.1" "$cli_stage/LICENSE"
if ! objdump -f "$cli_stage/corvane-cli" | grep -q 'file format elf64-x86-64'; then
  echo "release: corvane-cli is not a 64-bit Linux program" >&2
  exit 1
fi
if readelf -S "$cli_stage/corvane-cli" | grep -q ' \.symtab\| \.debug_'; then
  echo "release: corvane-cli is not stripped" >&2
  exit 1
fi
# Reproducible as the zip: names sorted, no owner, the last commit's time, gzip without a name or
# time of its own.
epoch=$(git log -1 --format=%ct 2>/dev/null || date +%s)
(cd $out && tar --format=gnu --sort=name --owner=0 --group=0 --numeric-owner --mtime="@$epoch" \
  -cf - "$cli_name" | gzip -n -9 >"$cli_name-linux-x86_64.tar.gz")

echo "== $out/$name-win32.zip =="
unzip -l "$out/$name-win32.zip"
echo "== $out/$cli_name-linux-x86_64.tar.gz =="
tar -tvzf "$out/$cli_name-linux-x86_64.tar.gz"
