# Plays one transcript through qup-drive in a scratch folder of its own and checks what it
# printed, and what it left in the settings file, against the files beside the script.
#   cmake -DDRIVE=<qup-drive> -DTRANSCRIPT=<folder/name> -DWORK=<scratch folder>
#         [-DSERVER=<qup-suggestion-server>] -P run_transcript.cmake
# name.qup         the commands; a line "# settings-folder: blocked" puts a regular file where
#                  the configuration folder would be, so the settings file can be neither
#                  opened nor made
# name.out         what qup-drive must print; with name.answers, followed by "--- server" and
#                  the server's log
# name.before.reg  if present, the settings file when the program starts
# name.after.reg   if present, the settings file, byte for byte, when the script has ended
# name.answers     if present, the stand-in web server's answers to its connections in order
#                  (words on one line); the server fills its ports into the script
cmake_minimum_required(VERSION 3.25)

foreach(var DRIVE TRANSCRIPT WORK)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "run_transcript: ${var} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(config "${WORK}/config")
set(settings_file "${config}/Kestrane/QU.reg")
set(script "${TRANSCRIPT}.qup")

file(STRINGS "${script}" blocked REGEX "^# settings-folder: blocked$")
if(blocked)
  file(WRITE "${config}" "")
elseif(EXISTS "${TRANSCRIPT}.before.reg")
  file(MAKE_DIRECTORY "${config}/Kestrane")
  file(COPY_FILE "${TRANSCRIPT}.before.reg" "${settings_file}")
else()
  file(MAKE_DIRECTORY "${config}")
endif()

# A private configuration and runtime folder: no test sees another's saved values.
set(drive "${CMAKE_COMMAND}" -E env "XDG_CONFIG_HOME=${config}" "XDG_RUNTIME_DIR=${WORK}"
          QT_QPA_PLATFORM=offscreen "${DRIVE}")
if(EXISTS "${TRANSCRIPT}.answers")
  if(NOT DEFINED SERVER)
    message(FATAL_ERROR "run_transcript: ${TRANSCRIPT}.answers needs -DSERVER")
  endif()
  file(STRINGS "${TRANSCRIPT}.answers" answers)
  separate_arguments(answers)
  execute_process(
    COMMAND "${SERVER}" "${script}" "${WORK}/server.log" ${answers}
    COMMAND ${drive}
    OUTPUT_VARIABLE actual
    ERROR_VARIABLE errors
    RESULTS_VARIABLE statuses
    TIMEOUT 120)
  file(READ "${WORK}/server.log" served)
  string(APPEND actual "--- server\n${served}")
  set(expected_statuses "0;0")
else()
  execute_process(
    COMMAND ${drive}
    INPUT_FILE "${script}"
    OUTPUT_VARIABLE actual
    ERROR_VARIABLE errors
    RESULTS_VARIABLE statuses
    TIMEOUT 120)
  set(expected_statuses "0")
endif()
file(WRITE "${WORK}/actual.out" "${actual}")

if(NOT statuses STREQUAL expected_statuses)
  message(SEND_ERROR "ended with ${statuses}:\n${errors}")
endif()
file(READ "${TRANSCRIPT}.out" expected)
if(NOT actual STREQUAL expected)
  execute_process(COMMAND diff -u "${TRANSCRIPT}.out" "${WORK}/actual.out"
                  OUTPUT_VARIABLE difference)
  message(SEND_ERROR "the output differs from ${TRANSCRIPT}.out:\n${difference}")
endif()
if(EXISTS "${TRANSCRIPT}.after.reg")
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${TRANSCRIPT}.after.reg"
                          "${settings_file}" RESULT_VARIABLE differs)
  if(NOT differs STREQUAL "0")
    execute_process(COMMAND diff -u --text "${TRANSCRIPT}.after.reg" "${settings_file}"
                    OUTPUT_VARIABLE difference)
    message(SEND_ERROR "the settings file differs from ${TRANSCRIPT}.after.reg:\n${difference}")
  endif()
endif()
if(blocked AND IS_DIRECTORY "${config}")
  message(SEND_ERROR "the blocked configuration folder was replaced")
endif()
