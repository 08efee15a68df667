# qup_add_transcripts(PREFIX FOLDER [SERVER <server executable>] [WINDOWS]): one CTest test,
# PREFIX.NAME, for every FOLDER/NAME.qup, played by qup-drive through run_transcript.cmake beside
# this file. With WINDOWS the same scripts are played on the Windows window, by the Windows
# build's qup-drive.exe under Wine through scripts/drive-windows.sh; a script marked
# "# windows: not played: REASON" reports itself skipped. Each such test has an X server and a
# wineserver of its own, so they run in parallel. With WEB they are played on the web page in
# headless Chromium through scripts/drive-web.sh, in a window of VIEWPORT (WIDTHxHEIGHT CSS
# pixels), and "# web: not played: REASON" skips one.
set(QUP_TRANSCRIPT_RUNNER ${CMAKE_CURRENT_LIST_DIR}/run_transcript.cmake)

function(qup_add_transcripts prefix folder)
  cmake_parse_arguments(PARSE_ARGV 2 arg "WINDOWS;WEB" "SERVER;VIEWPORT" "")
  set(drive_arguments -DDRIVE=$<TARGET_FILE:qup-drive>)
  set(properties TIMEOUT 150)
  if(arg_WINDOWS)
    set(drive_arguments -DDRIVE=${PROJECT_SOURCE_DIR}/scripts/drive-windows.sh
                        -DWINDOWS_DRIVE_EXE=$<TARGET_FILE:qup-drive>
                        -DWINE_PREFIX=${PROJECT_BINARY_DIR}/wine)
    list(APPEND properties SKIP_REGULAR_EXPRESSION "Skipped on Windows: ")
  endif()
  if(arg_WEB)
    set(drive_arguments -DDRIVE=${PROJECT_SOURCE_DIR}/scripts/drive-web.sh
                        -DWEB_BUILD=${PROJECT_BINARY_DIR} -DWEB_VIEWPORT=${arg_VIEWPORT})
    list(APPEND properties SKIP_REGULAR_EXPRESSION "Skipped on the web: ")
  endif()
  if(arg_SERVER)
    list(APPEND drive_arguments -DSERVER=${arg_SERVER})
  endif()
  file(GLOB scripts CONFIGURE_DEPENDS ${folder}/*.qup)
  foreach(script ${scripts})
    get_filename_component(name ${script} NAME_WE)
    add_test(NAME ${prefix}.${name}
             COMMAND ${CMAKE_COMMAND} ${drive_arguments} -DTRANSCRIPT=${folder}/${name}
                     -DWORK=${CMAKE_CURRENT_BINARY_DIR}/transcripts/${name}
                     -P ${QUP_TRANSCRIPT_RUNNER})
    set_tests_properties(${prefix}.${name} PROPERTIES ${properties})
  endforeach()
endfunction()
