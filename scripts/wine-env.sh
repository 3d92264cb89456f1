# Sourced by the scripts that run Windows programs: a Wine prefix of the project's own under
# build/, a private virtual X display, and one persistent wineserver for the whole session.
# Call corvane_private_display, then corvane_wine_start, then corvane_wine_stop when done (the
# scripts trap it on exit).

CORVANE_ROOT=${CORVANE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=${CORVANE_WINEPREFIX:-$CORVANE_ROOT/build/wineprefix}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Which Wine the scripts use, decided here for all of them: the 32-bit one where it can start, else
# the 64-bit one. Debian's wine wrapper picks the 32-bit loader whenever it is installed, but it
# cannot start where 32-bit Wine is missing (set-up treats it as optional) or where the kernel
# runs no 32-bit programs; there the 64-bit loader is named directly.
# CORVANE_WINE_ARCH is the build that Wine runs as the shipped program: i686 or x86_64.
if [ -z "${WINELOADER:-}" ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  export WINELOADER=/usr/lib/wine/wine64
fi
CORVANE_WINE=${WINELOADER:-wine}
case $CORVANE_WINE in
  *64) CORVANE_WINE_ARCH=x86_64 ;;
  *) CORVANE_WINE_ARCH=i686 ;;
esac

# Says in one line which Wine the calling script uses: corvane_wine_announce run.sh
corvane_wine_announce() {
  if [ "$CORVANE_WINE_ARCH" = i686 ]; then
    echo "$1: 32-bit Wine starts here, so the 32-bit build runs under Wine ($CORVANE_WINE)"
  else
    echo "$1: 32-bit Wine cannot start here, so the 64-bit build runs in its place ($CORVANE_WINE)"
  fi
}

# Runs the calling script again on a private X display (xvfb-run -a takes a free one and stops it
# when the script ends), unless it already runs on one. Called first thing as
# corvane_private_display "$0" "$@".
corvane_private_display() {
  [ -z "${CORVANE_PRIVATE_DISPLAY:-}" ] || return 0
  export CORVANE_PRIVATE_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$@"
}

corvane_wine_start() {
  if [ -z "${DISPLAY:-}" ]; then
    echo "wine-env: no X display (the scripts run themselves under xvfb-run)" >&2
    return 1
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
}
