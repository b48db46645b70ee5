# The same sources through a second compiler: clang for 64-bit Windows, with
# MinGW-w64's headers, C++ library and linker (the -posix flavour, as the GCC
# builds use). Its tests run under wine64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)

# GCC's own folder holds the C++ library clang is to use.
execute_process(COMMAND ${MINGW_PREFIX}-g++-posix -print-libgcc-file-name
                OUTPUT_VARIABLE _libgcc OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(_gcc_lib ${_libgcc} DIRECTORY)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${MINGW_PREFIX})
set(CMAKE_CXX_COMPILER_TARGET ${MINGW_PREFIX})
set(CMAKE_CXX_FLAGS_INIT
    "-isystem ${_gcc_lib}/include/c++ -isystem ${_gcc_lib}/include/c++/${MINGW_PREFIX}")
# -pthread puts winpthreads after libgcc_eh, whose locks come from it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -pthread -L${_gcc_lib}")
