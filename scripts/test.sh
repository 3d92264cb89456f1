#!/usr/bin/env bash
# Builds Corvane and runs every test: the engine natively under AddressSanitizer and
# UndefinedBehaviorSanitizer, then the Windows builds (engine and window shell) under Wine, on a
# private X display (xvfb-run).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
source scripts/wine-env.sh
corvane_private_display scripts/test.sh "$@"
corvane_wine_announce test.sh

echo "== native build (sanitizers) =="
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

echo "== fuzzing the edit boxes (brief) =="
bash scripts/fuzz.sh --brief

trap corvane_wine_stop EXIT
corvane_wine_start

for arch in i686 x86_64; do
  echo "== Windows build ($arch) =="
  cmake --preset win-$arch >/dev/null
  cmake --build --preset win-$arch
  if [ $arch = i686 ] && [ "$CORVANE_WINE_ARCH" != i686 ]; then
    echo "note: 32-bit Wine cannot start here (not installed, or the kernel runs no 32-bit programs);"
    echo "      the i686 build is checked by building it, its tests run in the x86_64 build."
    continue
  fi
  ctest --preset win-$arch
done
