#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Corvane need, in two steps:
#   1. what every script needs (compilers, the 64-bit Wine, Xvfb, ...); set-up fails without it;
#   2. the 32-bit part of Wine (the i386 architecture and wine32:i386). It is optional: without it
#      the 32-bit program is still built and linked, and its tests run in the 64-bit build. When it
#      cannot be installed (say the i386 index is out of step with amd64 during a mirror sync),
#      set-up says so in one line and carries on, after undoing what it added for that part.
# Safe to run again: it only installs what is missing (with everything present it does no apt
# work). A failing apt-get update is tried once more, then the install goes on with the old index.
#   CORVANE_NO_WINE32=1  skip the 32-bit part (nothing i386 is added or installed)
set -euo pipefail
# The scripts run set-up, then run themselves again on a private X display (wine-env.sh), which
# would run it a second time: once is enough.
if [ -n "${CORVANE_PRIVATE_DISPLAY:-}" ]; then exit 0; fi

packages=(
  cmake ninja-build g++ clang libclang-rt-dev libgtest-dev libbenchmark-dev googletest
  mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64
  wine wine64 xvfb xauth xdotool x11-utils imagemagick zip python3
)
wine32=wine32:i386

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
# Another apt run (an unattended upgrade, a second set-up) holds the lock for a while: wait for it.
apt_options=(-o DPkg::Lock::Timeout=600)

have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
has_i386() { dpkg --print-foreign-architectures | grep -qx i386; }
# The i386 packages dpkg holds in any state short of not installed (half-installed ones too).
i386_packages() {
  { dpkg-query -W -f='${db:Status-Abbrev} ${binary:Package}\n' '*:i386' 2>/dev/null || true; } |
    awk 'substr($1, 2, 1) != "n" {print $2}' | sort
}

apt_update() {
  $SUDO apt-get "${apt_options[@]}" update -qq && return 0
  echo "setup: apt-get update failed; trying once more"
  sleep 5
  $SUDO apt-get "${apt_options[@]}" update -qq && return 0
  echo "setup: apt-get update failed again; installing from the package index as it is"
}

apt_install() {
  $SUDO apt-get "${apt_options[@]}" install -y -qq --no-install-recommends "$@" >/dev/null
}

need=()
for p in "${packages[@]}"; do have "$p" || need+=("$p"); done
if [ ${#need[@]} -gt 0 ]; then
  echo "setup: installing ${need[*]}"
  apt_update
  apt_install "${need[@]}"
fi

if [ "${CORVANE_NO_WINE32:-}" = 1 ]; then
  echo "setup: CORVANE_NO_WINE32=1, so 32-bit Wine is not installed;" \
    "the 32-bit program is built and linked; its tests run in the 64-bit build"
elif ! have "$wine32"; then
  echo "setup: installing $wine32 (the 32-bit part of Wine, optional)"
  # apt's own messages about the optional part go to a log, so that a failure reads as one line.
  log=${TMPDIR:-/tmp}/corvane-setup-wine32.log
  : >"$log"
  added_i386=""
  i386_before=$(i386_packages)
  if ! has_i386; then
    if $SUDO dpkg --add-architecture i386 >>"$log" 2>&1; then added_i386=1; fi
  fi
  if ! has_i386 || ! { apt_update && apt_install "$wine32"; } >>"$log" 2>&1; then
    # Leave the machine as it was: no i386 package left half-installed, and the architecture (with
    # its package index) gone again if it was added only for this.
    mapfile -t i386_new < <(comm -13 <(echo "$i386_before") <(i386_packages))
    if [ ${#i386_new[@]} -gt 0 ]; then
      $SUDO dpkg --purge --force-depends "${i386_new[@]}" >>"$log" 2>&1 || true
    fi
    if [ -n "$added_i386" ] && $SUDO dpkg --remove-architecture i386 >>"$log" 2>&1; then
      apt_update >>"$log" 2>&1
    fi
    echo "setup: 32-bit Wine ($wine32) could not be installed (apt's messages: $log);" \
      "the 32-bit program is built and linked; its tests run in the 64-bit build" \
      "(set-up tries again next time; CORVANE_NO_WINE32=1 skips it)"
  fi
fi
if have "$wine32"; then echo "setup: all packages present"; else echo "setup: all required packages present"; fi
