#!/usr/bin/env bash
# Runs every Corvane benchmark and prints its figures against the goals:
#   - size of the shipped 32-bit corvane.exe (stripped) against a minimal one-window program;
#   - start-up to an idle window and peak working set against the floor, cv_floor.exe, started
#     alternately in one run (under Wine: the 32-bit build, or the 64-bit one where 32-bit Wine
#     cannot start);
#   - keystroke to views and every command, median and 99th percentile, against the floor's rounds
#     alternating with Corvane's in the same process.
#   The floor (bench/win/floor_window.h) is Corvane's main window tree - the same classes, styles,
#   places, menu, icon and fonts - doing for each action only the window calls whose result differs
#   (the same texts into the same boxes, the changed cells repainted, the same checks, radios,
#   markers, focus and height); it has no engine, state, parsing, validation or subclassing.
#   Goal for every action: at most 1.3 times the floor's median;
#   - FormatReal against the C runtime (scripts/bench-format.sh), natively;
#   - corvane-cli explain f64 --json over random bit patterns against a Python reference
#     (scripts/bench-explain.sh), natively;
#   - corvane-cli calc f64 --json over random operations against a Python reference with
#     fractions.Fraction (scripts/bench-calc.sh), natively.
# Settings: BENCH_STARTS (alternating starts of each program, default 20), BENCH_KEYSTROKES
# (keystrokes per typing series, default 2000; the commands scale with it).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh >/dev/null
source scripts/wine-env.sh
corvane_private_display scripts/bench.sh "$@"
corvane_wine_announce bench.sh
starts=${BENCH_STARTS:-20}
keystrokes=${BENCH_KEYSTROKES:-2000}

for arch in i686 x86_64; do
  cmake --preset bench-$arch >/dev/null
  cmake --build --preset bench-$arch >/dev/null
done

echo "== size of the 32-bit programs, stripped (i686-w64-mingw32-strip) =="
mkdir -p build/bench-i686/stripped
i686-w64-mingw32-strip -o build/bench-i686/stripped/corvane.exe build/bench-i686/shell/corvane.exe
i686-w64-mingw32-strip -o build/bench-i686/stripped/minimal.exe build/bench-i686/bench/win/cv_minimal.exe
corvane_size=$(stat -c %s build/bench-i686/stripped/corvane.exe)
minimal_size=$(stat -c %s build/bench-i686/stripped/minimal.exe)
awk -v c="$corvane_size" -v m="$minimal_size" 'BEGIN {
  printf "  corvane.exe   %8d bytes (goal: at most 131072, %s)\n  minimal.exe   %8d bytes\n  ratio         %8.2f\n",
    c, (c <= 131072 ? "met" : "missed"), m, c / m }'

trap corvane_wine_stop EXIT
corvane_wine_start >/dev/null

echo "== start-up and memory ($CORVANE_WINE_ARCH build under Wine) =="
"$CORVANE_WINE" build/bench-$CORVANE_WINE_ARCH/bench/win/startup_bench.exe build/bench-$CORVANE_WINE_ARCH/shell/corvane.exe \
  build/bench-$CORVANE_WINE_ARCH/bench/win/cv_floor.exe "$starts"

echo "== keystrokes and commands ($CORVANE_WINE_ARCH build under Wine) =="
"$CORVANE_WINE" build/bench-$CORVANE_WINE_ARCH/bench/win/views_bench.exe "$keystrokes"

if [ -f scripts/bench-format.sh ]; then
  echo "== FormatReal (native) =="
  bash scripts/bench-format.sh
fi

echo "== explain f64 --json (native) =="
bash scripts/bench-explain.sh

echo "== calc f64 --json (native) =="
bash scripts/bench-calc.sh
