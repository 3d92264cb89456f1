#!/usr/bin/env bash
# CTest's emulator for the Windows programs: the loader chosen by wine-env.sh (the 64-bit one where
# the kernel cannot run 32-bit programs), in the prefix and display that the test session set up.
exec "${WINELOADER:-wine}" "$@"
