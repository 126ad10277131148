# Runs one telephone script with a fresh data folder; the script's exit status is the result.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${DPX} --simulate --data-dir ${WORK}/data --sim-script ${SCRIPT}
  WORKING_DIRECTORY ${WORK} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "script ${SCRIPT} ended with status ${result}")
endif()
