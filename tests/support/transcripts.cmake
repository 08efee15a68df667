# qup_add_transcripts(PREFIX FOLDER [SERVER <server executable>]): one CTest test, PREFIX.NAME,
# for every FOLDER/NAME.qup, played by qup-drive through run_transcript.cmake beside this file.
set(QUP_TRANSCRIPT_RUNNER ${CMAKE_CURRENT_LIST_DIR}/run_transcript.cmake)

function(qup_add_transcripts prefix folder)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "SERVER" "")
  set(server_argument)
  if(arg_SERVER)
    set(server_argument -DSERVER=${arg_SERVER})
  endif()
  file(GLOB scripts CONFIGURE_DEPENDS ${folder}/*.qup)
  foreach(script ${scripts})
    get_filename_component(name ${script} NAME_WE)
    add_test(NAME ${prefix}.${name}
             COMMAND ${CMAKE_COMMAND} -DDRIVE=$<TARGET_FILE:qup-drive> ${server_argument}
                     -DTRANSCRIPT=${folder}/${name}
                     -DWORK=${CMAKE_CURRENT_BINARY_DIR}/transcripts/${name}
                     -P ${QUP_TRANSCRIPT_RUNNER})
    set_tests_properties(${prefix}.${name} PROPERTIES TIMEOUT 150)
  endforeach()
endfunction()

# qup_add_windows_transcripts(PREFIX FOLDER [SERVER <server executable>]): the same transcripts
# played on the Windows window, through scripts/drive-windows.sh and the Windows build's
# qup-drive.exe under Wine. A script marked "# windows: not played: REASON" reports itself
# skipped. Each test has an X server and a wineserver of its own, so they run in parallel.
function(qup_add_windows_transcripts prefix folder)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "SERVER" "")
  set(server_argument)
  if(arg_SERVER)
    set(server_argument -DSERVER=${arg_SERVER})
  endif()
  file(GLOB scripts CONFIGURE_DEPENDS ${folder}/*.qup)
  foreach(script ${scripts})
    get_filename_component(name ${script} NAME_WE)
    add_test(NAME ${prefix}.${name}
             COMMAND ${CMAKE_COMMAND} -DDRIVE=${PROJECT_SOURCE_DIR}/scripts/drive-windows.sh
                     -DWINDOWS_DRIVE_EXE=$<TARGET_FILE:qup-drive>
                     -DWINE_PREFIX=${PROJECT_BINARY_DIR}/wine ${server_argument}
                     -DTRANSCRIPT=${folder}/${name}
                     -DWORK=${CMAKE_CURRENT_BINARY_DIR}/transcripts/${name}
                     -P ${QUP_TRANSCRIPT_RUNNER})
    set_tests_properties(${prefix}.${name} PROPERTIES TIMEOUT 150
                         SKIP_REGULAR_EXPRESSION "Skipped on Windows: ")
  endforeach()
endfunction()
