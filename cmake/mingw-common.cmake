# The part that the mingw-w64 toolchain files share. The including file sets
# STAKKO_MINGW_ARCH (i686 or x86_64) and STAKKO_MINGW_THREADS (posix or
# win32). Everything is linked statically, so the programs run without any
# DLL of the toolchain.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${STAKKO_MINGW_ARCH})

set(triplet ${STAKKO_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${triplet}-gcc-${STAKKO_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${triplet}-g++-${STAKKO_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${triplet}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# ctest runs every Windows test program through this wrapper, which bounds
# its time and runs it with wine in the prefix that scripts/test prepared.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/lib/wine-exec)
