# Plays one settings transcript through qup-drive with its own configuration folder.
#   cmake -DDRIVE=<qup-drive> -DTRANSCRIPT=<folder/name> -DWORK=<scratch folder> -P run_transcript.cmake
# name.qup       the commands; a line "# settings-folder: blocked" puts a regular file where the
#                configuration folder would be, so that the settings file can be neither opened
#                nor made
# name.out       what qup-drive must print
# name.before.reg, if present, is the settings file when the program starts
# name.after.reg, if present, is the settings file, byte for byte, when the script has ended
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(config "${WORK}/config")
set(settings_file "${config}/Kestrane/QU.reg")

file(STRINGS "${TRANSCRIPT}.qup" blocked REGEX "^# settings-folder: blocked$")
if(blocked)
  file(WRITE "${config}" "")
elseif(EXISTS "${TRANSCRIPT}.before.reg")
  file(MAKE_DIRECTORY "${config}/Kestrane")
  file(COPY_FILE "${TRANSCRIPT}.before.reg" "${settings_file}")
else()
  file(MAKE_DIRECTORY "${config}")
endif()

execute_process(
  COMMAND "${CMAKE_COMMAND}" -E env "XDG_CONFIG_HOME=${config}" "XDG_RUNTIME_DIR=${WORK}"
          QT_QPA_PLATFORM=offscreen
          "${DRIVE}"
  INPUT_FILE "${TRANSCRIPT}.qup"
  OUTPUT_VARIABLE output
  ERROR_VARIABLE errors
  RESULT_VARIABLE status
  TIMEOUT 120)

set(failed FALSE)
if(NOT status STREQUAL "0")
  message(SEND_ERROR "qup-drive ended with ${status}:\n${errors}")
  set(failed TRUE)
endif()
file(READ "${TRANSCRIPT}.out" expected)
if(NOT output STREQUAL expected)
  message(SEND_ERROR "output differs.\n--- expected\n${expected}--- printed\n${output}")
endif()
if(EXISTS "${TRANSCRIPT}.after.reg")
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${TRANSCRIPT}.after.reg"
                          "${settings_file}" RESULT_VARIABLE differs)
  if(NOT differs STREQUAL "0")
    file(READ "${settings_file}" actual)
    message(SEND_ERROR "settings file differs from ${TRANSCRIPT}.after.reg:\n${actual}")
  endif()
endif()
if(blocked AND IS_DIRECTORY "${config}")
  message(SEND_ERROR "the blocked configuration folder was replaced")
endif()
