# The plug-in's public names, on every platform: the five entry points the simulator looks up and
# the two that other plug-ins may use.
set(TROVIK_EXPORTS HotKey_Master XPluginDisable XPluginEnable XPluginReceiveMessage XPluginStart
    XPluginStop check_AGL)

# What `names` has beyond the public names, and which of them it lacks.
function(export_differences names extra_out missing_out)
  set(extra ${names})
  set(missing ${TROVIK_EXPORTS})
  list(REMOVE_ITEM extra ${TROVIK_EXPORTS})
  list(REMOVE_ITEM missing ${names})
  set(${extra_out} ${extra} PARENT_SCOPE)
  set(${missing_out} ${missing} PARENT_SCOPE)
endfunction()

function(expect_exports names)
  export_differences("${names}" extra missing)
  if(extra OR missing)
    message(FATAL_ERROR "exports are [${names}]: extra [${extra}], missing [${missing}]")
  endif()
endfunction()
