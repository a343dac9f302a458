# An SDK older than the oldest we support must stop configure, naming both versions.
#   cmake -DROOT=<repo> -DWORK=<dir> -DGENERATOR=<generator> -P check_sdk_version.cmake
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${WORK})
file(WRITE ${WORK}/sdk/CHeaders/XPLM/XPLMDefs.h "#define kXPLM_Version        (210)\n")
execute_process(COMMAND ${CMAKE_COMMAND} -S ${ROOT} -B ${WORK}/build -G ${GENERATOR}
                        -DXPLM_SDK_DIR=${WORK}/sdk -DTROVIK_BUILD_TESTS=OFF
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(rc EQUAL 0)
  message(FATAL_ERROR "configure accepted SDK 210")
endif()
string(REGEX REPLACE "[ \t\n]+" " " said "${err}")
if(NOT said MATCHES "is SDK version 210 .*needs SDK 300 \\(3\\.00\\) or newer")
  message(FATAL_ERROR "configure stopped without naming both versions:\n${err}")
endif()
message(STATUS "SDK 210 is refused: ${said}")
