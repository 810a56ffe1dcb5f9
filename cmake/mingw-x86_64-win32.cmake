# Cross build of the shipped 64-bit .scr with the win32 thread model, as for
# the 32-bit one: no winpthreads in the file.
set(STAKKO_MINGW_ARCH x86_64)
set(STAKKO_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
