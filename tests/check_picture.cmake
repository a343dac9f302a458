# Runs the demo script into an SVG on screens large, narrow and small, and has librsvg render
# each: a malformed picture, or one a renderer cannot draw, fails here.
foreach(screen 1920x1080 640x1400 320x200)
  execute_process(COMMAND ${SIM} -f ${KEYS} --screen ${screen} --svg ${OUT}/check.svg
                  RESULT_VARIABLE rc OUTPUT_QUIET)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "trovik-sim failed at ${screen}: ${rc}")
  endif()
  execute_process(COMMAND ${RSVG} ${OUT}/check.svg -o ${OUT}/check.png RESULT_VARIABLE rc
                  ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR err)
    message(FATAL_ERROR "rsvg-convert rejected the picture at ${screen}: ${err}")
  endif()
endforeach()
