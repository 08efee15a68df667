# qup_warnings(TARGET): the project's own code builds with warnings on. They are errors only where
# we control the compiler (CI, the presets, scripts/), which turn QUP_WARNINGS_AS_ERRORS on; a
# user's own build with another compiler or build type still builds when a new warning appears.
option(QUP_WARNINGS_AS_ERRORS "Treat warnings in the project's own code as errors" OFF)

function(qup_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(QUP_WARNINGS_AS_ERRORS)
    set_property(TARGET ${target} PROPERTY COMPILE_WARNING_AS_ERROR ON)
  endif()
endfunction()
