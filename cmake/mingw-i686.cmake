# Cross build for 32-bit Windows (the shipped target), run under Wine by CTest.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CORVANE_MINGW_TRIPLE i686-w64-mingw32)
# Code without exceptions needs no unwind tables here (x86_64 Windows unwinds through them, so the
# 64-bit build keeps them).
set(CORVANE_MINGW_RELEASE_FLAGS -fno-asynchronous-unwind-tables)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
