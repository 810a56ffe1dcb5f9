# Cross build of the shipped .scr for 32-bit Windows with the mingw-w64
# compilers of the win32 thread model. Unlike the -posix ones they link no
# winpthreads, which calls kernel functions that Windows 95/98/Me lack; they
# have no std::thread or std::mutex, so the tests stay with the -posix ones.
set(STAKKO_MINGW_ARCH i686)
set(STAKKO_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
