# Cross build for 32-bit Windows: the release we ship. Its tests run under
# 32-bit Wine (through QEMU where the kernel runs no i386 code); the 64-bit
# loader hands a 32-bit program to the 32-bit one.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
