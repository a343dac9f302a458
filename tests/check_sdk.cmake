# Proves that the SDK check (src/host/sdk_check.cpp) catches a declaration of ours that differs
# from the SDK's: unchanged, our headers must compile beside the SDK's; with any one difference
# planted in a copy of the header that holds it, they must not. With -DSDK=<SDK dir> the SDK is
# the official one; without it, a stand-in made from our own headers.
#   cmake -DCXX=<compiler> -DSRC=<repo>/src -DWORK=<dir> [-DSDK=<dir> -DDEFINES=<A=1,B=1>] -P check_sdk.cmake
cmake_minimum_required(VERSION 3.25)
# The first header includes the second.
set(files xplm_declarations.h xplm_world_declarations.h)
foreach(f IN LISTS files)
  file(READ ${SRC}/host/${f} ours_${f})
endforeach()

# Each is "from|to"; CMake lists split at semicolons, so ours are spelled SEMI.
set(mutations
  "void XPLMSetDataf(XPLMDataRef inDataRef, float inValue)|void XPLMSetDataf(XPLMDataRef inDataRef, double inValue)"
  "xplm_DownFlag = 8|xplm_DownFlag = 9"
  "#define XPLM_VK_F1 0x70|#define XPLM_VK_F1 0x71"
  "typedef void* XPLMWindowIDSEMI|typedef int* XPLMWindowIDSEMI"
  "    float pitchSEMI\n    float headingSEMI|    float headingSEMI\n    float pitchSEMI"
  "XPLMKeyFlags inFlags, char inVirtualKey,|XPLMKeyFlags inFlags, unsigned char inVirtualKey,"
  "xplm_ControlCameraForever = 2|xplm_ControlCameraForever = 3"
  "typedef void* XPLMCommandRefSEMI|typedef int* XPLMCommandRefSEMI"
  "XPLMCommandPhase inPhase,|unsigned inPhase,"
  "xplm_CommandContinue = 1|xplm_CommandContinue = 3"
  "xplm_Menu_Checked = 2|xplm_Menu_Checked = 1"
  "XPLM_API void XPLMEnableMenuItem(XPLMMenuID inMenu, int index, int enabled)|XPLM_API void XPLMEnableMenuItem(XPLMMenuID inMenu, int index, bool enabled)"
  "const char* inItemName, void* inItemRef,|const char* inItemName, const void* inItemRef,"
  "xplm_FlightLoop_Phase_AfterFlightModel = 1|xplm_FlightLoop_Phase_AfterFlightModel = 2"
  "int inCounter,|unsigned inCounter,"
  "    XPLMFlightLoop_f callbackFuncSEMI\n    void* refconSEMI|    void* refconSEMI\n    XPLMFlightLoop_f callbackFuncSEMI"
  "float inInterval,\n|double inInterval,\n"
  "xplm_ProbeMissed = 2|xplm_ProbeMissed = 3"
  "    float normalXSEMI\n    float normalYSEMI|    float normalYSEMI\n    float normalXSEMI"
  "    int is_wetSEMI|    float is_wetSEMI"
  "XPLMGetDatavf(XPLMDataRef inDataRef, float* outValues|XPLMGetDatavf(XPLMDataRef inDataRef, double* outValues")

if(SDK)
  set(headers ${SDK}/CHeaders/XPLM)
  set(flags)
  string(REPLACE "," ";" defines "${DEFINES}")
  foreach(d IN LISTS defines)
    list(APPEND flags -D${d})
  endforeach()
else()
  # The stand-in: our own headers, the second inside the first, as if they were the SDK's, every
  # SDK header name leading to them.
  set(headers ${WORK}/standin)
  string(REPLACE "#include \"host/xplm_world_declarations.h\"" "${ours_xplm_world_declarations.h}"
         standin "${ours_xplm_declarations.h}")
  string(REPLACE "TROVIK_HOST_XPLM_" "STANDIN_SDK_" standin "${standin}")
  file(WRITE ${headers}/XPLMDefs.h "${standin}")
  foreach(h XPLMCamera XPLMDataAccess XPLMDisplay XPLMGraphics XPLMMenus XPLMNavigation XPLMPlugin
            XPLMProcessing XPLMScenery XPLMUtilities)
    file(WRITE ${headers}/${h}.h "#include \"XPLMDefs.h\"\n")
  endforeach()
  set(flags)
endif()

# Our headers into ${WORK}/<name>, `changed` (a file's name) holding `text` instead of its own.
function(try_check name changed text expect_ok)
  foreach(f IN LISTS files)
    if(f STREQUAL changed)
      file(WRITE ${WORK}/${name}/host/${f} "${text}")
    else()
      file(WRITE ${WORK}/${name}/host/${f} "${ours_${f}}")
    endif()
  endforeach()
  execute_process(COMMAND ${CXX} -std=c++17 -fsyntax-only -Wall -Werror ${flags}
                          -I${WORK}/${name} -I${headers} -I${SRC} ${SRC}/host/sdk_check.cpp
                  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
  if(expect_ok AND NOT rc EQUAL 0)
    message(FATAL_ERROR "our unchanged declarations are rejected:\n${err}")
  elseif(NOT expect_ok AND rc EQUAL 0)
    message(FATAL_ERROR "a difference went unnoticed: ${name}")
  endif()
endfunction()

string(ASCII 59 semicolon)
try_check(same "" "" TRUE)
set(n 0)
foreach(m IN LISTS mutations)
  string(REPLACE "\\n" "\n" m "${m}")
  string(REPLACE "SEMI" "${semicolon}" m "${m}")
  string(FIND "${m}" "|" bar)
  string(SUBSTRING "${m}" 0 ${bar} from)
  math(EXPR after "${bar} + 1")
  string(SUBSTRING "${m}" ${after} -1 to)
  set(holder "")
  foreach(f IN LISTS files)
    string(FIND "${ours_${f}}" "${from}" at)
    if(NOT at EQUAL -1)
      set(holder ${f})
    endif()
  endforeach()
  if(NOT holder)
    message(FATAL_ERROR "mutation does not apply: ${from}")
  endif()
  string(REPLACE "${from}" "${to}" changed "${ours_${holder}}")
  math(EXPR n "${n} + 1")
  try_check(mutation${n} ${holder} "${changed}" FALSE)
endforeach()
if(SDK)
  message(STATUS "against the SDK in ${SDK}: our declarations compile, ${n} planted differences do not")
else()
  message(STATUS "against a stand-in: our declarations compile, ${n} planted differences do not")
endif()
