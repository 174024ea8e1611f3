# A short, repeatable fuzz run for ctest: a fixed seed and number of runs, new inputs
# kept in a fresh folder of the build (never in the committed corpus), crashes saved
# there too. Arguments: FUZZER, RUNS, WORK (folder), INPUTS (seed folder), DICT (optional).
file(REMOVE_RECURSE "${WORK}")
set(dictionary)
if(DICT)
  set(dictionary -dict=${DICT})
endif()
file(MAKE_DIRECTORY "${WORK}/corpus")
execute_process(
  COMMAND "${FUZZER}" -seed=1 -runs=${RUNS} -max_total_time=600 -print_final_stats=1 ${dictionary}
          -artifact_prefix=${WORK}/ "${WORK}/corpus" "${INPUTS}"
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(GLOB crashes "${WORK}/crash-*" "${WORK}/leak-*" "${WORK}/timeout-*" "${WORK}/oom-*")
  message(FATAL_ERROR "fuzzer failed (${result}); inputs kept: ${crashes}")
endif()
