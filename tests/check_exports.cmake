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
include(${CMAKE_CURRENT_LIST_DIR}/expect_exports.cmake)
expect_exports("${names}")

execute_process(COMMAND ${READELF} -d ${XPL} OUTPUT_VARIABLE dynamic RESULT_VARIABLE rc)
string(REGEX MATCHALL "Shared library: \\[[^]]+\\]" needed "${dynamic}")
# zig links the arm64 test build against glibc 2.17, whose libpthread also exports open, read,
# write and the like: there it is part of the C library (glibc 2.34 folded it into libc.so.6).
set(allowed "libc\\.so\\.6|libm\\.so\\.6")
if(ALLOW_LIBPTHREAD)
  string(APPEND allowed "|libpthread\\.so\\.0")
endif()
foreach(lib IN LISTS needed)
  if(NOT lib MATCHES "\\[(${allowed})\\]")
    message(FATAL_ERROR "unexpected dependency: ${lib}")
  endif()
endforeach()
message(STATUS "exports: ${names}; needs: ${needed}")

# glibc 2.17 (2012) is the oldest the plug-in promises to load on.
find_program(OBJDUMP objdump REQUIRED)
execute_process(COMMAND ${OBJDUMP} -T ${XPL} OUTPUT_VARIABLE dynsyms)
string(REGEX MATCHALL "GLIBC_[0-9]+\\.[0-9]+(\\.[0-9]+)?" versions "${dynsyms}")
list(REMOVE_DUPLICATES versions)
foreach(v IN LISTS versions)
  string(REPLACE "GLIBC_" "" number "${v}")
  if(number VERSION_GREATER 2.17)
    message(FATAL_ERROR "needs ${v}, newer than glibc 2.17")
  endif()
endforeach()
message(STATUS "glibc versions: ${versions}")
