# Makes the release package Trovik-<version>.zip with the Linux, Windows and macOS plug-ins.
#   cmake -P cmake/package.cmake
# Builds (or brings up to date) build/, build-win/ and build-mac/, the same trees the tests run
# in, installs the three into one folder and zips it; the zip lands in build/. The macOS build
# needs zig: `npm ci` installs it.
cmake_minimum_required(VERSION 3.25)
get_filename_component(root ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
file(STRINGS ${root}/VERSION version LIMIT_COUNT 1)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}")
  endif()
endfunction()

set(stage ${root}/build/package)
file(REMOVE_RECURSE ${stage})

run(${CMAKE_COMMAND} -S ${root} -B ${root}/build)
run(${CMAKE_COMMAND} --build ${root}/build -j2 --target trovik)
run(${CMAKE_COMMAND} --install ${root}/build --prefix ${stage} --strip)

run(${CMAKE_COMMAND} -S ${root} -B ${root}/build-win
    -DCMAKE_TOOLCHAIN_FILE=${root}/cmake/mingw-w64-x86_64.cmake)
run(${CMAKE_COMMAND} --build ${root}/build-win -j2 --target trovik)
run(${CMAKE_COMMAND} --install ${root}/build-win --prefix ${stage} --strip)

run(${CMAKE_COMMAND} -S ${root} -B ${root}/build-mac
    -DCMAKE_TOOLCHAIN_FILE=${root}/cmake/macos-universal.cmake)
run(${CMAKE_COMMAND} --build ${root}/build-mac -j2 --target trovik)
# Not stripped: that would break the arm64 slice's code signature (the link left out debug info).
run(${CMAKE_COMMAND} --install ${root}/build-mac --prefix ${stage})

# What ships is checked before it is zipped: a failed check leaves no zip behind. Names,
# imports, glibc versions, the Mach-O slices.
set(zip ${root}/build/Trovik-${version}.zip)
file(REMOVE ${zip})
foreach(f Trovik/lin_x64/Trovik.xpl Trovik/win_x64/Trovik.xpl Trovik/mac_x64/Trovik.xpl INSTALL.txt)
  if(NOT EXISTS ${stage}/${f})
    message(FATAL_ERROR "package lacks ${f}")
  endif()
endforeach()
run(${CMAKE_COMMAND} -DXPL=${stage}/Trovik/lin_x64/Trovik.xpl
    -P ${root}/tests/check_exports.cmake)
run(${CMAKE_COMMAND} -DXPL=${stage}/Trovik/win_x64/Trovik.xpl
    -DOBJDUMP=x86_64-w64-mingw32-objdump -P ${root}/tests/check_exports_windows.cmake)
find_program(lipo NAMES llvm-lipo llvm-lipo-14 PATHS /usr/lib/llvm-14/bin REQUIRED)
find_program(objdump NAMES llvm-objdump llvm-objdump-14 PATHS /usr/lib/llvm-14/bin REQUIRED)
find_program(nm NAMES llvm-nm llvm-nm-14 PATHS /usr/lib/llvm-14/bin REQUIRED)
run(${CMAKE_COMMAND} -DXPL=${stage}/Trovik/mac_x64/Trovik.xpl -DWORK=${root}/build-mac/package
    -DLIPO=${lipo} -DOBJDUMP=${objdump} -DNM=${nm} -P ${root}/tests/check_macho.cmake)

run(${CMAKE_COMMAND} -E chdir ${stage}
    ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip Trovik INSTALL.txt)
message(STATUS "package: ${zip}")
