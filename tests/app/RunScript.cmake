# Runs one telephone script with a fresh data folder and fresh settings; the script's exit
# status is the result. A first line "# dpx-args: ..." gives the script more options.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(STRINGS ${SCRIPT} first_line LIMIT_COUNT 1)
set(extra_args)
if(first_line MATCHES "^# dpx-args: (.*)$")
  separate_arguments(extra_args UNIX_COMMAND "${CMAKE_MATCH_1}")
endif()
set(ENV{XDG_CONFIG_HOME} ${WORK}/config)
execute_process(COMMAND ${DPX} --simulate --data-dir ${WORK}/data ${extra_args} --sim-script ${SCRIPT}
  WORKING_DIRECTORY ${WORK} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "script ${SCRIPT} ended with status ${result}")
endif()
