# Fails unless the README states the project's version, so that the two
# cannot drift apart:
#   cmake -DREADME=<README.md> -DVERSION=<x.y.z> -P CheckReadmeVersion.cmake
file(STRINGS ${README} stated REGEX "^Version [0-9]")
list(LENGTH stated count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "${README}: ${count} lines 'Version X.Y.Z.', expected one")
endif()
if(NOT stated MATCHES "^Version ([0-9]+\\.[0-9]+\\.[0-9]+)\\.?$")
  message(FATAL_ERROR "${README}: '${stated}' is not 'Version X.Y.Z.'")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
  message(FATAL_ERROR "${README} states version ${CMAKE_MATCH_1}, the project is ${VERSION}")
endif()
message(STATUS "${README} states version ${VERSION}")
