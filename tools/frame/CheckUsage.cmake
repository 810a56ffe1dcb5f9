# Runs stakko-frame with bad arguments and checks that it refuses them:
# exit status 2 and a one-line usage message on standard error.
#   cmake -DRUN=<emulator> -DFRAME=<program> -DARGS=<comma-separated> -P CheckUsage.cmake
string(REPLACE "," ";" args "${ARGS}")
execute_process(COMMAND ${RUN} ${FRAME} ${args}
  RESULT_VARIABLE status
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err)
if(NOT status EQUAL 2)
  message(FATAL_ERROR "exit status ${status}, expected 2; stderr: ${err}")
endif()
string(REPLACE "\r" "" err "${err}")
if(NOT err MATCHES "^usage: stakko-frame [^\n]+\n$")
  message(FATAL_ERROR "standard error is not one usage line: '${err}'")
endif()
