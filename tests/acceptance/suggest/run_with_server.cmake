# Plays one transcript through qup-drive with qup-suggestion-server standing in for the web
# server, and compares what the driver printed, then the server's log, with the expected output.
# cmake -DDRIVE=... -DSERVER=... -DSCRIPT=NAME.qup -DANSWERS=ok;old -DEXPECTED=NAME.out
#       -DWORK=dir -P run_with_server.cmake
foreach(var DRIVE SERVER SCRIPT EXPECTED WORK)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "run_with_server: ${var} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/config")
set(ENV{XDG_CONFIG_HOME} "${WORK}/config")
set(ENV{XDG_RUNTIME_DIR} "${WORK}")

# The server writes the script, its ports filled in, into the driver's input.
execute_process(
  COMMAND "${SERVER}" "${SCRIPT}" "${WORK}/server.log" ${ANSWERS}
  COMMAND "${DRIVE}"
  OUTPUT_VARIABLE actual
  ERROR_VARIABLE errors
  RESULTS_VARIABLE statuses)
file(READ "${WORK}/server.log" served)
string(APPEND actual "--- server\n${served}")
file(WRITE "${WORK}/actual.out" "${actual}")
file(READ "${EXPECTED}" expected)

if(NOT statuses STREQUAL "0;0")
  message(FATAL_ERROR "server and qup-drive ended with ${statuses}:\n${errors}")
endif()
if(NOT actual STREQUAL expected)
  execute_process(COMMAND diff -u "${EXPECTED}" "${WORK}/actual.out" OUTPUT_VARIABLE difference)
  message(FATAL_ERROR "The output differs from ${EXPECTED}:\n${difference}")
endif()
