# Fails unless the README states the project's version, so that the two
# cannot drift apart:
#   cmake -DREADME=<README.md> -DVERSION=<x.y.z> -P CheckReadmeVersion.cmake
# The verdict goes out as a plain message before the error: CMake wraps an
# error's text to its report width, so a long path would split the words
# that a test looks for.

function(refuse verdict)
  message(NOTICE "${verdict} (${README})")
  message(FATAL_ERROR "the README does not state version ${VERSION}")
endfunction()

file(STRINGS ${README} stated REGEX "^Version [0-9]")
list(LENGTH stated count)
if(NOT count EQUAL 1)
  refuse("README has ${count} lines 'Version X.Y.Z.', expected one")
endif()
if(NOT stated MATCHES "^Version ([0-9]+\\.[0-9]+\\.[0-9]+)\\.?$")
  refuse("README line '${stated}' is not 'Version X.Y.Z.'")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
  refuse("README states version ${CMAKE_MATCH_1}, the project is ${VERSION}")
endif()
message(STATUS "README states version ${VERSION} (${README})")
