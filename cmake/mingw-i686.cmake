# Cross build for 32-bit Windows with mingw-w64. The -posix compilers give
# std::thread and std::mutex (GoogleTest needs them).
set(STAKKO_MINGW_ARCH i686)
set(STAKKO_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
