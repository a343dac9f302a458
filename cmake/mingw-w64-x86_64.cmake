# Cross-build for 64-bit Windows with Debian's MinGW-w64. Programs built here (the tests, the
# demo) run under Wine when it is installed.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TROVIK_MINGW_PREFIX x86_64-w64-mingw32)
# The posix thread model: GoogleTest needs std::mutex, which the win32 model lacks. Every
# runtime piece is linked statically, so users need no winpthread DLL.
set(CMAKE_C_COMPILER ${TROVIK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TROVIK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TROVIK_MINGW_PREFIX}-windres)
set(CMAKE_DLLTOOL ${TROVIK_MINGW_PREFIX}-dlltool)

set(CMAKE_FIND_ROOT_PATH /usr/${TROVIK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian keeps Wine's 64-bit loader out of PATH.
find_program(TROVIK_WINE64 NAMES wine64 PATHS /usr/lib/wine /usr/lib64/wine NO_DEFAULT_PATH)
if(NOT TROVIK_WINE64)
  find_program(TROVIK_WINE64 NAMES wine64 wine)
endif()
if(TROVIK_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TROVIK_WINE64})
endif()
