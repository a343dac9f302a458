# Proves that building with -DXPLM_SDK_DIR catches a declaration of ours that differs from the
# SDK's. Without the SDK at hand, a stand-in is made from our own header: unchanged, the check
# must compile; with any one difference planted, it must not.
#   cmake -DCXX=<compiler> -DSRC=<repo>/src -DWORK=<dir> -P check_sdk.cmake
file(READ ${SRC}/host/xplm_declarations.h ours)
string(REPLACE "TROVIK_HOST_XPLM_DECLARATIONS_H" "STANDIN_SDK_H" standin "${ours}")

# Each is "from|to"; CMake lists split at semicolons, so ours are spelled SEMI.
set(mutations
  "void XPLMSetDataf(XPLMDataRef inDataRef, float inValue)|void XPLMSetDataf(XPLMDataRef inDataRef, double inValue)"
  "xplm_DownFlag = 8|xplm_DownFlag = 9"
  "#define XPLM_VK_F1 0x70|#define XPLM_VK_F1 0x71"
  "typedef void* XPLMWindowIDSEMI|typedef int* XPLMWindowIDSEMI"
  "    float pitchSEMI\n    float headingSEMI|    float headingSEMI\n    float pitchSEMI"
  "XPLMKeyFlags inFlags, char inVirtualKey,|XPLMKeyFlags inFlags, unsigned char inVirtualKey,"
  "xplm_ControlCameraForever = 2|xplm_ControlCameraForever = 3")

function(try_check name text expect_ok)
  set(dir ${WORK}/${name}/CHeaders/XPLM)
  file(MAKE_DIRECTORY ${dir})
  file(WRITE ${dir}/XPLMDefs.h "${text}")
  foreach(h XPLMCamera XPLMDataAccess XPLMDisplay XPLMGraphics XPLMUtilities)
    file(WRITE ${dir}/${h}.h "#include \"XPLMDefs.h\"\n")
  endforeach()
  execute_process(COMMAND ${CXX} -std=c++17 -fsyntax-only -Wall -Werror -I${dir} -I${SRC}
                          ${SRC}/host/sdk_check.cpp
                  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
  if(expect_ok AND NOT rc EQUAL 0)
    message(FATAL_ERROR "identical declarations rejected:\n${err}")
  elseif(NOT expect_ok AND rc EQUAL 0)
    message(FATAL_ERROR "a difference went unnoticed: ${name}")
  endif()
endfunction()

string(ASCII 59 semicolon)
try_check(same "${standin}" TRUE)
set(n 0)
foreach(m IN LISTS mutations)
  string(REPLACE "\\n" "\n" m "${m}")
  string(REPLACE "SEMI" "${semicolon}" m "${m}")
  string(FIND "${m}" "|" bar)
  string(SUBSTRING "${m}" 0 ${bar} from)
  math(EXPR after "${bar} + 1")
  string(SUBSTRING "${m}" ${after} -1 to)
  string(FIND "${standin}" "${from}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "mutation does not apply: ${from}")
  endif()
  string(REPLACE "${from}" "${to}" changed "${standin}")
  math(EXPR n "${n} + 1")
  try_check(mutation${n} "${changed}" FALSE)
endforeach()
message(STATUS "the SDK check accepts identical declarations and rejects ${n} planted differences")
