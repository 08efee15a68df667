# qup_warnings(TARGET): the project's own code builds with warnings on and treated as errors.
function(qup_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
endfunction()
