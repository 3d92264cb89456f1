# GoogleTest needs the posix thread model of the mingw-w64 compilers. corvane.exe links no
# winpthreads all the same: only the C++ runtime's exception support asked for it, and the program
# brings its own runtime pieces instead (shell/runtime.cpp).
set(CMAKE_C_COMPILER ${CORVANE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${CORVANE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${CORVANE_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${CORVANE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# CTest runs the Windows programs through Wine (prefix and server are set up by scripts/test.sh).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)

# Release builds a small program: optimised for size, and without exceptions in the project's own
# code (shell/runtime.cpp stops the program where the C++ library would throw; GoogleTest compiles
# itself with exceptions). The toolchain may add flags of its own in CORVANE_MINGW_RELEASE_FLAGS.
# (Cache entries: CMake would append -O3 to the *_INIT values.)
set(CMAKE_C_FLAGS_RELEASE "-Os -DNDEBUG" CACHE STRING "Flags of the Release build type")
set(CMAKE_CXX_FLAGS_RELEASE "-Os -DNDEBUG -fno-exceptions ${CORVANE_MINGW_RELEASE_FLAGS}"
    CACHE STRING "Flags of the Release build type")
