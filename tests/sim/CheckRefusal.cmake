# Runs the simulator with one bad input and checks that it refuses it as a
# user would see: exit status 2, nothing on standard output, and one line on
# standard error.
#   cmake -DSIM=<program> -DARGS=<;-list> [-DINPUT=<file>] -DMENTIONS=<text> -P CheckRefusal.cmake
if(NOT INPUT)
  set(INPUT /dev/null)
endif()
execute_process(COMMAND ${SIM} ${ARGS}
  INPUT_FILE ${INPUT}
  RESULT_VARIABLE status
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err)
if(NOT status EQUAL 2)
  message(FATAL_ERROR "exit status ${status}, expected 2; stderr: ${err}")
endif()
if(NOT out STREQUAL "")
  message(FATAL_ERROR "unexpected standard output: ${out}")
endif()
if(NOT err MATCHES "^stakko-sim: [^\n]+\n$")
  message(FATAL_ERROR "standard error is not one line: '${err}'")
endif()
string(FIND "${err}" "${MENTIONS}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "standard error does not mention '${MENTIONS}': ${err}")
endif()
