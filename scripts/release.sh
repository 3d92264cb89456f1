#!/usr/bin/env bash
# Builds the shipped Corvane: the 32-bit corvane.exe (Release, stripped) with its user guide,
# README and licence, packed as build/release/corvane-<version>-win32.zip.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

version=$(sed -n 's/^project(Corvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "release: no version in CMakeLists.txt" >&2; exit 1; }
name=corvane-$version
build=build/release-i686
out=build/release
stage=$out/$name

echo "== 32-bit Release build =="
cmake --no-warn-unused-cli -S . -B $build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVANE_TESTS=OFF \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build $build --target corvane

rm -rf "$stage" "$out/$name-win32.zip"
mkdir -p "$stage"
i686-w64-mingw32-strip -o "$stage/corvane.exe" $build/shell/corvane.exe
if ! i686-w64-mingw32-objdump -f "$stage/corvane.exe" | grep -q 'file format pei-i386'; then
  echo "release: corvane.exe is not a 32-bit Windows program" >&2
  exit 1
fi

# The user guide is the help text the program itself shows (F1), laid out for a text editor:
# each topic under an underlined title, long lines wrapped, list items with a hanging indent.
python3 - shell/resources/help.txt "$stage/HELP.txt" "$version" <<'PY'
import sys, textwrap
source, target, version = sys.argv[1:4]
out = ["Corvane %s - User guide" % version, "=" * len("Corvane %s - User guide" % version), "",
       "This is the help that Corvane shows with Help > Contents (F1)."]
for line in open(source, encoding="latin-1").read().splitlines():
    if line.startswith("@topic "):
        title = line.split("|", 1)[1]
        out += ["", title, "-" * len(title)]
    elif line.startswith("@"):
        continue
    elif not line.strip():
        out.append("")
    else:
        indent = len(line) - len(line.lstrip())
        body = line.lstrip()
        hang = indent + (2 if body.startswith("- ") else 0)
        out += textwrap.wrap(body, width=78, initial_indent=" " * indent, subsequent_indent=" " * hang,
                             break_long_words=False, break_on_hyphens=False) or [""]
with open(target, "w", encoding="latin-1", newline="\r\n") as f:
    f.write("\n".join(out).strip("\n") + "\n")
PY
# Windows editors expect CRLF line ends.
sed 's/$/\r/' release/README-user.txt >"$stage/README-user.txt"
sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"

# Reproducible archive: fixed order, the last commit's time on every file, no extra attributes.
stamp=$(git log -1 --format=%cd --date=format:%Y%m%d%H%M.%S 2>/dev/null || date +%Y%m%d%H%M.%S)
touch -t "$stamp" "$stage" "$stage"/*
(cd $out && TZ=UTC zip -X -q -D "$name-win32.zip" "$name/corvane.exe" "$name/HELP.txt" "$name/README-user.txt" \
  "$name/LICENSE.txt")

echo "== $out/$name-win32.zip =="
unzip -l "$out/$name-win32.zip"
