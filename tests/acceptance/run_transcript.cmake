# Plays one transcript through qup-drive and compares what it prints with the expected output.
# cmake -DDRIVE=... -DSCRIPT=NAME.qup -DEXPECTED=NAME.out -DWORK=dir -P run_transcript.cmake
foreach(var DRIVE SCRIPT EXPECTED WORK)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "run_transcript: ${var} is not set")
  endif()
endforeach()

# A fresh settings folder for every run: no test sees another's saved values.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/config")
set(ENV{XDG_CONFIG_HOME} "${WORK}/config")
set(ENV{XDG_RUNTIME_DIR} "${WORK}")

execute_process(
  COMMAND "${DRIVE}"
  INPUT_FILE "${SCRIPT}"
  OUTPUT_VARIABLE actual
  ERROR_VARIABLE errors
  RESULT_VARIABLE status)
file(WRITE "${WORK}/actual.out" "${actual}")
file(READ "${EXPECTED}" expected)

if(NOT status EQUAL 0)
  message(FATAL_ERROR "qup-drive ended with ${status}:\n${errors}")
endif()
if(NOT actual STREQUAL expected)
  execute_process(COMMAND diff -u "${EXPECTED}" "${WORK}/actual.out" OUTPUT_VARIABLE difference)
  message(FATAL_ERROR "The output differs from ${EXPECTED}:\n${difference}")
endif()
