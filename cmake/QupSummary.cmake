# What this configure will build, printed at the end of every configure: the parts that are on,
# the build type, and the site the program will talk to. The site's names stay in CMakeCache.txt
# from one configure to the next, so a build for a local try-out (127.0.0.1) would otherwise go
# on posting to this machine, unnoticed, in every later build and package.

function(qup_summary_line label value)
  string(LENGTH "${label}" length)
  math(EXPR pad "24 - ${length}")
  string(REPEAT " " ${pad} spaces)
  message(STATUS "  ${label}${spaces}${value}")
endfunction()

function(qup_on_off variable out)
  if(${variable})
    set(${out} "on  (${variable})" PARENT_SCOPE)
  else()
    set(${out} "off (${variable})" PARENT_SCOPE)
  endif()
endfunction()

set(qup_build_type "${CMAKE_BUILD_TYPE}")
if(qup_build_type STREQUAL "")
  set(qup_build_type "none (CMAKE_BUILD_TYPE unset: no optimisation)")
endif()
if(QUP_WARNINGS_AS_ERRORS)
  set(qup_warning_mode "errors (QUP_WARNINGS_AS_ERRORS)")
else()
  set(qup_warning_mode "reported, not errors (QUP_WARNINGS_AS_ERRORS off)")
endif()

message(STATUS "")
message(STATUS "${PROJECT_NAME} ${QUP_VERSION}")
qup_summary_line("build type" "${qup_build_type}")
qup_summary_line("warnings" "${qup_warning_mode}")
qup_summary_line("program" "qup, qup-drive, the package (cpack)")
foreach(part_variable BUILD_TESTING QUP_BUILD_SERVER QUP_BUILD_BENCH QUP_FUZZ QUP_SANITIZE)
  qup_on_off(${part_variable} state)
  set(part_label_BUILD_TESTING "tests")
  set(part_label_QUP_BUILD_SERVER "server")
  set(part_label_QUP_BUILD_BENCH "benchmarks")
  set(part_label_QUP_FUZZ "fuzzers (libFuzzer)")
  set(part_label_QUP_SANITIZE "sanitizers")
  qup_summary_line("${part_label_${part_variable}}" "${state}")
endforeach()

set(qup_site_changed)
foreach(site_name SUBMISSION_HOST HOME_PAGE_URL SITE_DISPLAY_NAME)
  set(site_variable QUP_${site_name})
  if("${${site_variable}}" STREQUAL "${QUP_DEFAULT_${site_name}}")
    qup_summary_line("${site_variable}" "${${site_variable}} (default)")
  else()
    qup_summary_line("${site_variable}" "${${site_variable}} (NOT the default)")
    list(APPEND qup_site_changed ${site_variable})
  endif()
endforeach()
message(STATUS "")

if(qup_site_changed)
  list(TRANSFORM qup_site_changed PREPEND "-U" OUTPUT_VARIABLE qup_unset_flags)
  list(JOIN qup_unset_flags " " qup_unset_flags)
  message(WARNING
    "This build talks to a site of its own, not the default one: it posts suggestions to "
    "${QUP_SUBMISSION_HOST} and opens ${QUP_HOME_PAGE_URL}. The values stay in this build "
    "folder's CMakeCache.txt, for every later build and package made from it. If that is not "
    "meant, go back to the defaults with\n"
    "  cmake ${qup_unset_flags} ${CMAKE_BINARY_DIR}\n"
    "or configure afresh with cmake --fresh.")
endif()
