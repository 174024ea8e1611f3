# Runs a program and checks its exit code: cmake -DEXPECTED=2 -DCOMMAND="prog;arg;..." -P ExitCode.cmake
execute_process(COMMAND ${COMMAND} RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
if(NOT result STREQUAL "${EXPECTED}")
  message(FATAL_ERROR "exit code ${result}, expected ${EXPECTED}")
endif()
