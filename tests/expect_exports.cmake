# The plug-in's public names, on every platform: the five entry points the simulator looks up and
# the two that other plug-ins may use.
function(expect_exports names)
  list(SORT names)
  set(expected HotKey_Master XPluginDisable XPluginEnable XPluginReceiveMessage XPluginStart
      XPluginStop check_AGL)
  if(NOT names STREQUAL expected)
    message(FATAL_ERROR "exports are [${names}], expected [${expected}]")
  endif()
endfunction()
