# Every XPLM function a built plug-in needs must be one the simulator exports, or the simulator
# refuses to load it with one line in Log.txt. The SDK's import library lists what it exports.
#   cmake -DXPL=<Trovik.xpl> -DLIB=<SDK>/Libraries/Win/XPLM_64.lib -DNM=<an nm that reads COFF>
#         [-DOBJDUMP=<objdump, for a Windows .xpl>] [-DEXPECT_MISSING=<name>] -P check_imports.cmake
# With EXPECT_MISSING, the check must find exactly that one function missing (a planted fault).
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/plugin_imports.cmake)

run(library ${NM} ${LIB})
string(REGEX MATCHALL "[0-9a-fA-F]+ T XPLM[A-Za-z0-9_]+" rows "${library}")
set(exported)
foreach(row IN LISTS rows)
  string(REGEX REPLACE "^.* T " "" name "${row}")
  list(APPEND exported ${name})
endforeach()
list(LENGTH exported count)
if(count LESS 100)
  message(FATAL_ERROR "${LIB} lists only ${count} XPLM functions: not an XPLM import library?")
endif()

plugin_imports(needed ${XPL} "${OBJDUMP}" nm -D --undefined-only)

list(LENGTH needed n)
judge_imports("${needed}" "${exported}" "${EXPECT_MISSING}" "missing"
              "${XPL} needs XPLM functions the simulator does not export"
              "all ${n} XPLM functions ${XPL} needs are among the ${count} the SDK exports")
