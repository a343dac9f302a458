# Runs the demo script into an SVG and has librsvg render it: a malformed picture fails here.
execute_process(COMMAND ${SIM} -f ${KEYS} --svg ${OUT}/check.svg RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "trovik-sim failed: ${rc}")
endif()
execute_process(COMMAND ${RSVG} ${OUT}/check.svg -o ${OUT}/check.png RESULT_VARIABLE rc
                ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR err)
  message(FATAL_ERROR "rsvg-convert rejected the picture: ${err}")
endif()
