# Sourced by the scripts that run Windows programs: a Wine prefix of the project's own under
# build/, a private virtual X display, and one persistent wineserver for the whole session.
# Call corvane_wine_start, then corvane_wine_stop when done (the scripts trap it on exit).

CORVANE_ROOT=${CORVANE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=${CORVANE_WINEPREFIX:-$CORVANE_ROOT/build/wineprefix}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Debian's wine wrapper picks the 32-bit loader when it exists; it cannot run where the kernel has
# no 32-bit support, so the 64-bit loader is named directly there.
if [ -z "${WINELOADER:-}" ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  export WINELOADER=/usr/lib/wine/wine64
fi
CORVANE_WINE=${WINELOADER:-wine}

corvane_xvfb_pid=""

corvane_wine_start() {
  if [ -z "${CORVANE_KEEP_DISPLAY:-}" ] || [ -z "${DISPLAY:-}" ]; then
    local n
    for n in $(seq 90 140); do
      [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
      Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
      corvane_xvfb_pid=$!
      local tries=0
      while [ ! -e /tmp/.X11-unix/X$n ] && [ $tries -lt 50 ]; do sleep 0.1; tries=$((tries + 1)); done
      if [ -e /tmp/.X11-unix/X$n ]; then export DISPLAY=:$n; break; fi
      kill $corvane_xvfb_pid 2>/dev/null || true
      corvane_xvfb_pid=""
    done
    [ -n "$corvane_xvfb_pid" ] || { echo "wine-env: could not start Xvfb" >&2; return 1; }
  fi
  mkdir -p "$(dirname "$WINEPREFIX")"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine-env: creating the Wine prefix $WINEPREFIX"
    "$CORVANE_WINE" wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    # Without a window manager, Wine's managed windows stall on every hide or destroy.
    "$CORVANE_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
  fi
  wineserver -p
  # Start Wine's background services now, detached from any caller's output: a test runner would
  # otherwise wait for them, since they inherit the pipes of the first program that starts them.
  "$CORVANE_WINE" wineboot >/dev/null 2>&1 </dev/null || true
}

corvane_wine_stop() {
  wineserver -k 2>/dev/null || true
  if [ -n "$corvane_xvfb_pid" ]; then kill "$corvane_xvfb_pid" 2>/dev/null || true; fi
  corvane_xvfb_pid=""
}
