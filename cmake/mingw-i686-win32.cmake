# 32-bit Windows with MinGW-w64 (Win32 threads): the shipped Vorlund.exe. Without the POSIX-threads
# runtime, which the -posix compilers link in, the program imports nothing that Windows XP lacks.
# The rest is the tests' toolchain.
set(VORLUND_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
