# Runs stakko-frame with bad arguments and checks that it refuses them:
# exit status 2 and a one-line usage message on standard error, after one
# line "stakko-frame: ..." matching WHY when WHY is given.
#   cmake -DRUN=<emulator> -DFRAME=<program> -DARGS=<comma-separated> [-DWHY=<regex>]
#         -P CheckUsage.cmake
string(REPLACE "," ";" args "${ARGS}")
execute_process(COMMAND ${RUN} ${FRAME} ${args}
  RESULT_VARIABLE status
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err)
if(NOT status EQUAL 2)
  message(FATAL_ERROR "exit status ${status}, expected 2; stderr: ${err}")
endif()
string(REPLACE "\r" "" err "${err}")
if(WHY)
  if(NOT err MATCHES "^stakko-frame: ([^\n]+)\n(.*)$")
    message(FATAL_ERROR "standard error does not start with the reason: '${err}'")
  endif()
  set(reason "${CMAKE_MATCH_1}")
  set(err "${CMAKE_MATCH_2}")
  if(NOT reason MATCHES "${WHY}")
    message(FATAL_ERROR "the reason '${reason}' does not match '${WHY}'")
  endif()
endif()
if(NOT err MATCHES "^usage: stakko-frame [^\n]+\n$")
  message(FATAL_ERROR "standard error is not one usage line: '${err}'")
endif()
