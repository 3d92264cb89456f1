#!/usr/bin/env bash
# Builds Corvane and starts it under Wine.
# With a display (DISPLAY set) the window opens there and the script waits until it is closed.
# Without one, Corvane runs on a private Xvfb display inside Wine's virtual desktop (which draws
# the caption and the menu bar without a window manager); the script saves a PNG screenshot of
# the window, prints where, and exits.
#   CORVANE_SCREENSHOT  where to save the screenshot (default build/screenshot.png)
#   CORVANE_BUILD_DIR   the Windows build directory (default build/win-<arch>)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

source scripts/wine-env.sh
if [ -z "${DISPLAY:-}" ]; then corvane_private_display scripts/run.sh "$@"; fi
# The shipped program is 32-bit; where 32-bit Wine cannot start (see wine-env.sh), the 64-bit
# build is started instead.
corvane_wine_announce run.sh
arch=$CORVANE_WINE_ARCH
build=${CORVANE_BUILD_DIR:-build/win-$arch}
cmake --preset win-$arch -B "$build" >/dev/null
cmake --build "$build" -j2 --target corvane
exe_dir=$(cd "$build/shell" && pwd)

if [ -z "${CORVANE_PRIVATE_DISPLAY:-}" ]; then
  trap corvane_wine_stop EXIT
  corvane_wine_start
  (cd "$exe_dir" && "$CORVANE_WINE" corvane.exe)
  exit 0
fi

screenshot=${CORVANE_SCREENSHOT:-build/screenshot.png}
mkdir -p "$(dirname "$screenshot")"
screenshot=$(cd "$(dirname "$screenshot")" && pwd)/$(basename "$screenshot")
trap corvane_wine_stop EXIT
corvane_wine_start
desktop=Corvane
(cd "$exe_dir" && exec "$CORVANE_WINE" explorer /desktop=$desktop,640x480 corvane.exe) >/dev/null 2>&1 &

# Wait for the main window inside the virtual desktop, then give it a moment to paint.
found=""
for _ in $(seq 1 100); do
  if xwininfo -root -tree 2>/dev/null | grep -q '"Corvane - Signed Integer"'; then found=1; break; fi
  sleep 0.2
done
sleep 1.5
if [ -z "$found" ]; then
  echo "run.sh: Corvane's window did not appear" >&2
  exit 1
fi
# Shoot the screen and crop it to Corvane's window (the desktop, if the window cannot be measured).
crop=640x480+0+0
geometry=$(xwininfo -name "Corvane - Signed Integer" 2>/dev/null |
  awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} /Width:/ {w=$NF} /Height:/ {h=$NF}
       END {if (w > 0 && h > 0) printf "%dx%d+%d+%d", w, h, x, y}')
if [ -n "$geometry" ]; then crop=$geometry; fi
import -window root -crop "$crop" +repage "$screenshot"
echo "run.sh: Corvane ran on a virtual display; screenshot saved to $screenshot"
