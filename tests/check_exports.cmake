# Checks the built plug-in: it exports exactly the seven public names and needs no shared
# library but the C library and libm. Run with -DXPL=<path to Trovik.xpl>.
find_program(NM nm REQUIRED)
find_program(READELF readelf REQUIRED)

execute_process(COMMAND ${NM} -D --defined-only ${XPL} OUTPUT_VARIABLE symbols RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "nm failed on ${XPL}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${symbols}")
set(names)
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^.* " "" name "${line}")
  # Symbols the linker makes for every shared object.
  if(NOT name MATCHES "^(_init|_fini|_edata|_end|__bss_start|_DYNAMIC|_GLOBAL_OFFSET_TABLE_)$")
    list(APPEND names ${name})
  endif()
endforeach()
list(SORT names)
set(expected HotKey_Master XPluginDisable XPluginEnable XPluginReceiveMessage XPluginStart
    XPluginStop check_AGL)
if(NOT names STREQUAL expected)
  message(FATAL_ERROR "exports are [${names}], expected [${expected}]")
endif()

execute_process(COMMAND ${READELF} -d ${XPL} OUTPUT_VARIABLE dynamic RESULT_VARIABLE rc)
string(REGEX MATCHALL "Shared library: \\[[^]]+\\]" needed "${dynamic}")
foreach(lib IN LISTS needed)
  if(NOT lib MATCHES "\\[(libc\\.so\\.6|libm\\.so\\.6)\\]")
    message(FATAL_ERROR "unexpected dependency: ${lib}")
  endif()
endforeach()
message(STATUS "exports: ${names}; needs: ${needed}")
