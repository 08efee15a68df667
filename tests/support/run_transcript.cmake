# Plays one transcript through qup-drive in a scratch folder of its own and checks what it
# printed, and what it left in the settings file, against the files beside the script.
#   cmake -DDRIVE=<qup-drive> -DTRANSCRIPT=<folder/name> -DWORK=<scratch folder>
#         [-DSERVER=<qup-suggestion-server>] [-DWINDOWS_DRIVE_EXE=<qup-drive.exe>
#         -DWINE_PREFIX=<shared prefix>] [-DWEB_BUILD=<web build folder>
#         -DWEB_VIEWPORT=<WIDTHxHEIGHT>] -P run_transcript.cmake
# With WINDOWS_DRIVE_EXE, DRIVE is scripts/drive-windows.sh, which plays the script on the
# Windows window under Wine, and the settings are checked in the registry of the scratch
# configuration folder instead of the settings file. With WEB_BUILD, DRIVE is
# scripts/drive-web.sh, which plays the script on the web page, whose local storage starts with
# the settings file and is written back to it.
# name.qup         the commands; a line "# settings-folder: blocked" puts a regular file where
#                  the configuration folder would be, so the settings file can be neither
#                  opened nor made; a line "# windows: not played: REASON" leaves the script
#                  out on Windows, and the test reports itself skipped with the reason; a line
#                  "# web: not played: REASON" the same on the web
# name.out         what qup-drive must print; with name.answers, followed by "--- server" and
#                  the server's log
# name.before.reg  if present, the settings file when the program starts; on Windows it is
#                  imported into the registry
# name.after.reg   if present, the settings file, byte for byte, when the script has ended
# name.after.query if present, on Windows, what `reg query` prints of the program's key when the
#                  script has ended
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

set(windows OFF)
set(driver_env)
# The platform the script is played on when it is not Linux: its mark in a script that it
# cannot play, and the words of ctest's SKIP_REGULAR_EXPRESSION.
set(mark)
if(DEFINED WINDOWS_DRIVE_EXE)
  set(windows ON)
  set(driver_env "QUP_DRIVE_EXE=${WINDOWS_DRIVE_EXE}")
  if(DEFINED WINE_PREFIX)
    list(APPEND driver_env "QUP_WINE_PREFIX=${WINE_PREFIX}")
  endif()
  set(mark "windows")
  set(skipped "Skipped on Windows")
elseif(DEFINED WEB_BUILD)
  list(APPEND driver_env "QUP_WEB_BUILD=${WEB_BUILD}" "QUP_WEB_VIEWPORT=${WEB_VIEWPORT}")
  set(mark "web")
  set(skipped "Skipped on the web")
endif()
if(mark)
  file(STRINGS "${script}" not_played REGEX "^# ${mark}: not played: ")
  if(not_played)
    list(GET not_played 0 reason)
    string(REPLACE "# ${mark}: not played: " "" reason "${reason}")
    message(STATUS "${skipped}: ${reason}")
    return()
  endif()
endif()

# A private configuration and runtime folder: no test sees another's saved values.
set(drive "${CMAKE_COMMAND}" -E env "XDG_CONFIG_HOME=${config}" "XDG_RUNTIME_DIR=${WORK}"
          QT_QPA_PLATFORM=offscreen ${driver_env} "${DRIVE}")
set(key "HKLM\\Software\\Kestrane\\QU")

file(STRINGS "${script}" blocked REGEX "^# settings-folder: blocked$")
if(blocked)
  file(WRITE "${config}" "")
elseif(EXISTS "${TRANSCRIPT}.before.reg" AND windows)
  file(MAKE_DIRECTORY "${config}")
  execute_process(COMMAND ${drive} --reg import "Z:${TRANSCRIPT}.before.reg"
                  OUTPUT_VARIABLE imported ERROR_VARIABLE imported RESULT_VARIABLE status
                  TIMEOUT 60)
  if(NOT status STREQUAL "0")
    message(FATAL_ERROR
            "reg import of ${TRANSCRIPT}.before.reg ended with ${status}:\n${imported}")
  endif()
elseif(EXISTS "${TRANSCRIPT}.before.reg")
  file(MAKE_DIRECTORY "${config}/Kestrane")
  file(COPY_FILE "${TRANSCRIPT}.before.reg" "${settings_file}")
else()
  file(MAKE_DIRECTORY "${config}")
endif()
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
if(windows AND EXISTS "${TRANSCRIPT}.after.reg")
  if(NOT EXISTS "${TRANSCRIPT}.after.query")
    message(SEND_ERROR "${TRANSCRIPT}.after.reg has no Windows twin ${TRANSCRIPT}.after.query")
  endif()
  execute_process(COMMAND ${drive} --reg query "${key}"
                  OUTPUT_FILE "${WORK}/after.query" ERROR_VARIABLE errors TIMEOUT 60)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${TRANSCRIPT}.after.query"
                          "${WORK}/after.query" RESULT_VARIABLE differs)
  if(NOT differs STREQUAL "0")
    execute_process(COMMAND diff -u --text "${TRANSCRIPT}.after.query" "${WORK}/after.query"
                    OUTPUT_VARIABLE difference)
    message(SEND_ERROR
            "the registry differs from ${TRANSCRIPT}.after.query:\n${difference}${errors}")
  endif()
elseif(EXISTS "${TRANSCRIPT}.after.reg")
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
