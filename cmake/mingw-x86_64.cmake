# Cross build for 64-bit Windows with mingw-w64, the -posix compilers as for
# i686. Its programs run under 64-bit Wine where 32-bit code cannot run.
set(STAKKO_MINGW_ARCH x86_64)
set(STAKKO_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
