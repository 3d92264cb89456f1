#!/usr/bin/env bash
# Drives corvane.exe as a person would: real key presses and mouse clicks through the X server
# (xdotool), with Wine turning them into the program's key state and messages. Each step is
# checked by reading the program's state from outside with corvane_probe.exe.
#   real_input.sh path/to/corvane.exe path/to/corvane_probe.exe
# Needs the display and Wine prefix that scripts/wine-env.sh set up (DISPLAY, WINEPREFIX and
# WINELOADER exported). Exits 77 (skipped) when there is no display or no xdotool.
set -u

corvane=$1
probe=$2
wine=${WINELOADER:-wine}

if [ -z "${DISPLAY:-}" ] || ! command -v xdotool >/dev/null; then
  echo "skipped: needs an X display and xdotool"
  exit 77
fi

failures=0
checks=0
program=""
snapshot=""

cleanup() {
  if [ -n "$program" ] && kill -0 "$program" 2>/dev/null; then kill "$program" 2>/dev/null; fi
}
trap cleanup EXIT
trap "exit 1" INT TERM

# The snapshot stays fresh until the next key or click, so that several checks of one step read
# the program once.
fresh=0
take_snapshot() {
  snapshot=$("$wine" "$probe" state 2>/dev/null | tr -d '\r')
  fresh=1
}
field() { printf '%s\n' "$snapshot" | sed -n "s/^$1=//p" | head -n 1; }

# After a few failures the rest would only fail the same way, slowly: stop there.
# failed WHAT GOT WANT [step]
failed() {
  echo "FAIL${4:+ ($4)}: $1 is '$2', expected '$3'"
  failures=$((failures + 1))
  if [ $failures -ge 5 ]; then
    echo "giving up after $failures failures"
    exit 1
  fi
}

# expect NAME VALUE [what]: waits up to three seconds for the probe to report NAME=VALUE.
expect() {
  local name=$1 want=$2 what=${3:-}
  local tries=0 got=""
  checks=$((checks + 1))
  while :; do
    [ $fresh = 1 ] && [ $tries = 0 ] || take_snapshot
    got=$(field "$name")
    [ "$got" = "$want" ] && return 0
    tries=$((tries + 1))
    [ $tries -ge 15 ] && break
    sleep 0.2
  done
  failed "$name" "$got" "$want" "$what"
  return 1
}

# expect_pixel BIT X Y RRGGBB [what]: a pixel of a cell, read from the screen.
expect_pixel() {
  local bit=$1 x=$2 y=$3 want=$4 what=${5:-}
  local tries=0 got=""
  checks=$((checks + 1))
  while :; do
    got=$(cell_pixel "$bit" "$x" "$y")
    [ "$got" = "$want" ] && return 0
    tries=$((tries + 1))
    [ $tries -ge 15 ] && break
    sleep 0.2
  done
  failed "pixel ($x, $y) of the cell of bit $bit" "$got" "$want" "$what"
  return 1
}

# press KEY...: each key as xdotool names it ("F9", "ctrl+r", "alt+v", "shift+Tab").
# An Alt accelerator is typed with a Shift tap before Alt comes up: Wine's DefWindowProcA sees only
# the Alt key (the accelerator took the letter) and would open the menu bar when Alt is released,
# where Windows tracks the letter at the input level and does not. A person under Wine presses
# Escape then; the tap keeps the menu closed without sending the program a key of its own.
press() {
  local key
  for key in "$@"; do
    case $key in
      alt+less | alt+greater) xdotool key "$key" ;;  # typed with Shift anyway
      alt+*) xdotool keydown Alt_L key "${key#alt+}" key Shift_L keyup Alt_L ;;
      *) xdotool key "$key" ;;
    esac
    sleep 0.06
  done
  fresh=0
}
type_text() {
  xdotool type --delay 60 -- "$1"
  fresh=0
}

# The screen position of the centre of the cell of a bit, and of a pixel inside a cell.
cell_centre() { "$wine" "$probe" cell "$1" 2>/dev/null | tr -d '\r'; }
cell_pixel() {
  local x y
  read -r x y < <(cell_centre "$1")
  "$wine" "$probe" pixel $((x - 7 + $2)) $((y - 10 + $3)) 2>/dev/null | tr -d '\r'
}

if "$wine" "$probe" wait 0 >/dev/null 2>&1; then
  echo "FAIL: a Corvane window is open already; its state would be read instead"
  exit 1
fi
"$wine" "$corvane" >/dev/null 2>&1 </dev/null &
program=$!
if ! "$wine" "$probe" wait 30 >/dev/null 2>&1; then
  echo "FAIL: the main window of Corvane never appeared"
  exit 1
fi
# No window manager gives the new window the X input focus: give it, as a click would.
window=$(xdotool search --name '^Corvane' | head -n 1)
xdotool windowfocus --sync "$window"

# ---- Start state: the bit cells have the focus, the marker under bit 0, nibble 0 selected ----
expect caption "Corvane - Signed Integer" "start"
expect focus main "start"
expect bitmark 0 "start"
expect nibblemark 0 "start"
expect hex 00000000 "start"
expect hexsel 7,8 "start"

# ---- Data types from the function keys ----
press F9
expect caption "Corvane - Floating-Point Real" "F9"
expect value "+0.0" "F9"
press F5
expect caption "Corvane - ANSI Character" "F5"
press F6
expect caption "Corvane - OEM Character" "F6"
press F8
expect caption "Corvane - Unsigned Integer" "F8"
press F7
expect caption "Corvane - Signed Integer" "F7"

# ---- Ctrl+S: the exponent cells of a real lose their grey and get it back ----
press F9
expect_pixel 23 1 1 C0C0C0 "exponent shaded"
expect_pixel 22 1 1 FFFFFF "mantissa not shaded"
press ctrl+s
expect_pixel 23 1 1 FFFFFF "Ctrl+S: no shading"
press ctrl+s
expect_pixel 23 1 1 C0C0C0 "Ctrl+S again"
press F7

# ---- The Tab cycle from the bit cells, forwards and back ----
for target in 901 903 913 920 921 922 923 924 main; do
  press Tab
  expect focus $target "Tab"
done
expect bitmark 0 "Tab back to the cells"
for target in 924 923 922 921 920 913 903 901 main; do
  press shift+Tab
  expect focus $target "Shift+Tab"
done

# ---- Focus accelerators with Alt ----
press alt+v
expect focus 901 "Alt+V"
expect bitmark -1 "a box takes the focus: no bit marker"
press alt+x
expect focus 903 "Alt+X"
press alt+b
expect focus 913 "Alt+B"
press alt+Return
expect focus main "Alt+Enter"
expect bitmark 0 "Alt+Enter"

# ---- Button accelerators with Alt: press the button, run it, leave the focus there ----
press alt+1
expect hex FFFFFFFF "Alt+1"
expect focus 923 "Alt+1"
press alt+comma
expect hex FFFFFFFE "Alt+,"
expect focus 920 "Alt+,"
press alt+period
expect hex 7FFFFFFF "Alt+."
expect focus 921 "Alt+."
press alt+less
expect hex FFFFFFFE "Alt+<"
press alt+greater
expect hex 7FFFFFFF "Alt+>"
press alt+f
expect hex 80000000 "Alt+F"
expect value -2147483648 "Alt+F"
expect focus 924 "Alt+F"
press alt+0
expect hex 00000000 "Alt+0"
expect focus 922 "Alt+0"

# ---- Shift modes with Ctrl, seen through a shift ----
press ctrl+1 alt+comma
expect hex 00000001 "Ctrl+1 shifts in 1's"
press ctrl+0 alt+comma
expect hex 00000002 "Ctrl+0 shifts in 0's"
press alt+f ctrl+l alt+period
expect hex FFFFFFFE "Ctrl+L rotates the low bit of FFFFFFFD round"
press alt+period
expect hex 7FFFFFFF "a rotation brings a 0 in at the top"
press ctrl+0 alt+0

# ---- Typing in the value box; Tab is never typed into it ----
press alt+v End BackSpace
type_text "-5"
expect value -5 "typed -5"
expect hex FFFFFFFB "typed -5"
press Tab
expect focus 903 "Tab from the value box"
expect value -5 "no tab typed"
press shift+Tab shift+Tab
expect focus main "Shift+Tab from the value box"
expect value -5 "no tab typed with Shift"

# ---- Error boxes with Ctrl+E ----
press alt+v End
type_text "x"
expect dialog "Corvane Input Error - Invalid Value" "a letter in a signed integer"
press Return
expect dialogs 0 "the input error box closes"
expect value -5 "the rejected letter is taken out again"
press ctrl+e End
type_text "x"
sleep 0.5
expect dialogs 0 "Ctrl+E: no more error boxes"
expect value -5 "still rejected"
press ctrl+e

# ---- The radio buttons' arrows by data type ----
press alt+b Right
expect size 1 "Right on 4 of an integer"
expect focus 911 "Right on 4 of an integer"
press Right
expect size 2 "Right on 1"
press Left Left
expect size 4 "Left from 1 of an integer wraps to 4"
expect focus 913
press F9
normal=$(field height)
press alt+b Down
expect size 8 "Down on 4 of a real"
expect height $((normal + 40)) "8 bytes: the lower row comes into view"
press Up
expect size 4 "Up on 8 of a real"
press F7

# ---- Keys over the bit cells ----
press alt+0 alt+Return Home Left
expect bitmark 1 "Left from bit 0"
press space
expect hex 00000002 "Space toggles bit 1"
press End
expect bitmark 31 "End"
press Right
expect bitmark 30 "Right"
press Escape
expect focus 903 "Escape selects the digit"
expect nibblemark 7 "Escape on bit 30"
expect hexsel 0,1 "Escape on bit 30"
press alt+Return Return
expect dialog "Bit Information" "Enter on a cell"
expect dialogtext 'Bit number 30 is not set.\r\n\r\nInteger value when set:  2**30 = 1073741824' "Enter on bit 30"
press Escape
sleep 0.3
expect dialogs 1 "Escape leaves the dialog open"
press Return
expect dialogs 0 "Enter closes it"

# ---- The report ----
press ctrl+r
expect dialog "Datatype Information" "Ctrl+R"
expect dialogtext 'Corvane - Signed Integer\r\n\r\nValue:\t2\r\nHex:\t00000002\r\n\r\nBinary:\t00000000000000000000000000000010' "report text"
press Return
expect dialogs 0

# ---- The mouse: a left-button drag across five cells, colours, a right double-click ----
press alt+0
read -r x0 y0 < <(cell_centre 0)
read -r x4 y4 < <(cell_centre 4)
xdotool mousemove "$x0" "$y0" mousedown 1
for bit in 1 2 3 4; do
  read -r x y < <(cell_centre $bit)
  xdotool mousemove "$x" "$y"
  sleep 0.1
done
xdotool mouseup 1
fresh=0
expect hex 0000001F "a drag across bits 0..4"
expect focus main "a click focuses the cells"
expect bitmark 4 "the marker follows the drag"
expect_pixel 2 7 10 008000 "a set bit's stroke is green"
press ctrl+c
expect_pixel 2 7 10 000000 "Ctrl+C: black"
press ctrl+c
expect_pixel 2 7 10 008000 "Ctrl+C again"
xdotool mousemove "$x4" "$y4" click --repeat 2 --delay 100 3
fresh=0
expect dialog "Bit Information" "a right double-click"
expect dialogtext 'Bit number 04 is set.\r\n\r\nInteger value when set:  2**4 = 16' "a right double-click on bit 4"
expect nibblemark 1 "its first press selected the digit"
press Return
expect dialogs 0

# ---- F12 ends the program with exit code 0 ----
press F12
checks=$((checks + 1))
status=1
for _ in $(seq 1 50); do
  if ! kill -0 "$program" 2>/dev/null; then
    wait "$program"
    status=$?
    break
  fi
  sleep 0.1
done
if [ "$status" != 0 ]; then
  echo "FAIL: F12 did not end the program with exit code 0 (status $status)"
  failures=$((failures + 1))
fi
program=""

echo "$checks checks, $failures failed"
[ $failures -eq 0 ]
