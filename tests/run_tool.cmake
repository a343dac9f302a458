# run(<out var> <command...>): runs a tool for a check script and hands back what it printed;
# a tool that fails stops the check with its own words.
function(run out)
  execute_process(COMMAND ${ARGN} OUTPUT_VARIABLE text RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed: ${ARGN}\n${err}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()
