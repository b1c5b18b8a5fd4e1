# 32-bit Windows with MinGW-w64 (posix threads): the 32-bit tests and benchmarks. The shipped
# Vorlund.exe is linked without that runtime (mingw-i686-win32.cmake).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
# The threads model of the compilers: posix here, win32 for the shipped program.
if(NOT VORLUND_MINGW_THREADS)
  set(VORLUND_MINGW_THREADS posix)
endif()
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-${VORLUND_MINGW_THREADS})
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-${VORLUND_MINGW_THREADS})
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
