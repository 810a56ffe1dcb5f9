# The shipped 32-bit .scr must run on Windows 95/98/Me too. The -posix
# mingw-w64 compilers, which the tests need, link winpthreads, whose kernel
# calls those systems lack. With them the .scr is built in a tree of its own
# with STAKKO_SCR_TOOLCHAIN (the win32 thread model, for either
# architecture), and the target that names it is that tree's file, copied to
# where a direct build would put it.
include_guard(GLOBAL)

if(NOT DEFINED STAKKO_SCR_TOOLCHAIN)
  set(default_toolchain "")
  if(WIN32)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -v ERROR_VARIABLE compiler_version OUTPUT_QUIET)
    if(compiler_version MATCHES "Thread model: posix")
      set(default_toolchain ${CMAKE_CURRENT_LIST_DIR}/mingw-${CMAKE_SYSTEM_PROCESSOR}-win32.cmake)
    endif()
  endif()
  set(STAKKO_SCR_TOOLCHAIN "${default_toolchain}" CACHE FILEPATH
      "Toolchain file of a separate build of the .scr (empty: built with the others)")
endif()

# stakko_add_separate_scr(NAME): the imported executable NAME, built by the
# target NAME_scr in a tree of its own; that tree's own build of NAME is the
# direct one.
function(stakko_add_separate_scr name)
  include(ExternalProject)
  file(RELATIVE_PATH here ${PROJECT_BINARY_DIR} ${CMAKE_CURRENT_BINARY_DIR})
  set(tree ${CMAKE_CURRENT_BINARY_DIR}/${name}-scr)
  set(built ${tree}/${here}/${name}.scr)
  set(scr ${CMAKE_CURRENT_BINARY_DIR}/${name}.scr)
  if(CMAKE_GENERATOR MATCHES "Makefiles")
    set(build_command "$(MAKE)" ${name}) # shares the outer make's jobs
  else()
    set(build_command ${CMAKE_COMMAND} --build <BINARY_DIR> --target ${name})
  endif()
  ExternalProject_Add(${name}_scr
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${tree}
    PREFIX ${tree}-steps
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${STAKKO_SCR_TOOLCHAIN}
      -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
      -DBUILD_TESTING=OFF
      -DSTAKKO_BENCHMARKS=OFF
      -DSTAKKO_SCR_TOOLCHAIN=
    BUILD_COMMAND ${build_command}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${built} ${scr}
    BUILD_BYPRODUCTS ${scr}
    # The sources are this tree's own: the inner build decides what is stale.
    BUILD_ALWAYS TRUE
    INSTALL_COMMAND "")
  add_executable(${name} IMPORTED GLOBAL)
  set_target_properties(${name} PROPERTIES IMPORTED_LOCATION ${scr})
  add_dependencies(${name} ${name}_scr)
endfunction()
