# The plug-in loads on X-Plane 11.10 (XPLM 300): every XPLM function it imports must be one the
# SDK's headers declare for XPLM 300 or before. A function declared only inside
# "#if defined(XPLM301)" (or a later version's block) is looked up with XPLMFindSymbol instead.
#   cmake -DXPL=<Trovik.xpl> -DHEADERS=<SDK>/CHeaders/XPLM [-DOBJDUMP=<objdump, Windows>]
#         [-DOTOOL=<llvm-otool or nm for a Mach-O>] [-DEXPECT_NEWER=<name>] -P check_xplm300.cmake
# With EXPECT_NEWER, the check must find exactly that one import too new (a planted fault).
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/plugin_imports.cmake)

# Each function's version: the newest XPLMnnn of the #if blocks around its declaration.
file(GLOB headers ${HEADERS}/XPLM*.h)
set(old_enough)
set(too_new)
foreach(header IN LISTS headers)
  file(STRINGS ${header} lines)
  set(stack)
  foreach(line IN LISTS lines)
    if(line MATCHES "^#[ \t]*if")
      if(line MATCHES "defined\\(XPLM([0-9]+)\\)")
        list(APPEND stack ${CMAKE_MATCH_1})
      else()
        list(APPEND stack 0)
      endif()
    elseif(line MATCHES "^#[ \t]*endif")
      list(POP_BACK stack)
    elseif(line MATCHES "^XPLM_API[^(]*[ *](XPLM[A-Za-z0-9_]+)\\(")
      set(name ${CMAKE_MATCH_1})
      set(version 0)
      foreach(v IN LISTS stack)
        if(v GREATER version)
          set(version ${v})
        endif()
      endforeach()
      if(version GREATER 300)
        list(APPEND too_new ${name})
      else()
        list(APPEND old_enough ${name})
      endif()
    endif()
  endforeach()
endforeach()
list(LENGTH old_enough count)
if(count LESS 100 OR NOT "XPLMCreateWindowEx" IN_LIST old_enough OR
   NOT "XPLMSetWindowGeometryVR" IN_LIST too_new)
  message(FATAL_ERROR "${HEADERS}: ${count} functions of XPLM 300 or before; not the SDK's headers?")
endif()

plugin_imports(needed ${XPL} "${OBJDUMP}" ${NM} -u)

list(LENGTH needed n)
judge_imports("${needed}" "${old_enough}" "${EXPECT_NEWER}" "newer than XPLM 300"
              "${XPL} imports functions newer than XPLM 300 (X-Plane 11.10)"
              "all ${n} XPLM functions ${XPL} imports are XPLM 300 or before (${count} are)")
