# Universal macOS bundles, cross-built (cmake/macos-universal.cmake sets the tools).

# trovik_macos_bundle(<name> OUTPUT <file> SOURCES <source>... [EXPORTS <symbol list>]
#                     [LINK <library or stub>...] [MIN <macOS version>] [ARM64_LINK_OPTIONS ...])
# Compiles the sources once for each slice (object libraries <name>_x86_64 and <name>_arm64, for
# the caller to give its compile settings), links each slice with ld64.lld as a bundle against
# the C library and LINK, and merges the two into OUTPUT. Target <name> builds it.
function(trovik_macos_bundle name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "OUTPUT;EXPORTS;MIN" "SOURCES;LINK;ARM64_LINK_OPTIONS")
  if(NOT arg_MIN)
    set(arg_MIN ${TROVIK_MACOS_MIN})
  endif()
  set(exports)
  if(arg_EXPORTS)
    set(exports -exported_symbols_list ${arg_EXPORTS})
  endif()
  set(slices)
  foreach(arch x86_64 arm64)
    set(cpu ${arch})
    if(arch STREQUAL "arm64")
      set(cpu aarch64)
    endif()
    add_library(${name}_${arch} OBJECT ${arg_SOURCES})
    target_compile_options(${name}_${arch} PRIVATE -target ${cpu}-macos.${arg_MIN})
    set(options)
    if(arch STREQUAL "arm64")
      set(options ${arg_ARM64_LINK_OPTIONS})
    endif()
    set(slice ${CMAKE_CURRENT_BINARY_DIR}/${name}.${arch})
    # -S: no debug map, so no path of this machine ends up in the file. Apple Silicon runs only
    # signed code: lld signs arm64 output ad hoc unless told not to.
    add_custom_command(OUTPUT ${slice}
      COMMAND ${TROVIK_LD64} -arch ${arch} -platform_version macos ${arg_MIN} ${arg_MIN} -bundle
              -dead_strip -S ${exports} ${options} -o ${slice}
              $<TARGET_OBJECTS:${name}_${arch}> ${TROVIK_LIBSYSTEM} ${arg_LINK}
      DEPENDS ${name}_${arch} $<TARGET_OBJECTS:${name}_${arch}> ${arg_LINK} ${arg_EXPORTS}
      COMMAND_EXPAND_LISTS VERBATIM
      COMMENT "Linking the ${arch} slice of ${name}")
    list(APPEND slices ${slice})
  endforeach()
  get_filename_component(dir ${arg_OUTPUT} DIRECTORY)
  add_custom_command(OUTPUT ${arg_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${TROVIK_LIPO} -create ${slices} -output ${arg_OUTPUT}
    DEPENDS ${slices}
    VERBATIM
    COMMENT "Universal ${arg_OUTPUT}")
  add_custom_target(${name} ALL DEPENDS ${arg_OUTPUT})
endfunction()

# trovik_tbd_from_def(<def file> <tbd file> [<install name>])
# A text stub for the linker that says a dylib (by default the simulator's XPLM framework) exports
# the functions a Windows .def file lists: one list of the host functions serves both platforms.
function(trovik_tbd_from_def def tbd)
  set(install_name "@rpath/XPLM.framework/Versions/C/XPLM")
  if(ARGC GREATER 2)
    set(install_name ${ARGV2})
  endif()
  file(STRINGS ${def} lines)
  set(symbols)
  foreach(line IN LISTS lines)
    if(line MATCHES "^[ \t]+([A-Za-z_][A-Za-z0-9_]*)[ \t]*$")
      list(APPEND symbols "_${CMAKE_MATCH_1}")
    endif()
  endforeach()
  list(JOIN symbols ", " symbols)
  file(WRITE ${tbd} "--- !tapi-tbd\ntbd-version: 4\ntargets: [ x86_64-macos, arm64-macos ]\n"
                    "install-name: '${install_name}'\nexports:\n"
                    "  - targets: [ x86_64-macos, arm64-macos ]\n    symbols: [ ${symbols} ]\n...\n")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def})
endfunction()
