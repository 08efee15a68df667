# SPDX-License-Identifier: MIT
# QUP_VERSION, the version the packages carry. A release is a commit tagged v<PROJECT_VERSION>
# (v1.1) and carries PROJECT_VERSION itself. A build of any other commit holds changes made
# after that release, so it says so: PROJECT_VERSION+git<commit date, UTC>.<short hash>, as
# 1.1+git20261207.a9c9213, which Debian sorts after 1.1 and before the next release. A source
# tree without its history (an archive of a release) carries PROJECT_VERSION. Configuring with
# -DQUP_PACKAGE_VERSION=... overrides all of this.

set(QUP_PACKAGE_VERSION "" CACHE STRING "The packages' version; empty: from the tag or commit")
if(NOT QUP_PACKAGE_VERSION STREQUAL "")
  set(QUP_VERSION "${QUP_PACKAGE_VERSION}")
  return()
endif()

set(QUP_VERSION "${PROJECT_VERSION}")
find_package(Git QUIET)
if(NOT GIT_FOUND OR NOT EXISTS "${PROJECT_SOURCE_DIR}/.git")
  return()
endif()

function(qup_git out)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC LC_ALL=C ${GIT_EXECUTABLE} ${ARGN}
                  WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_QUIET
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(result EQUAL 0)
    set(${out} "${output}" PARENT_SCOPE)
  else()
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()

# A new commit, a checkout or a new tag configures again, so the version follows them.
qup_git(branch rev-parse --symbolic-full-name HEAD)
set(watched HEAD packed-refs refs/tags)
if(branch MATCHES "^refs/")
  list(APPEND watched "${branch}")
endif()
foreach(name ${watched})
  qup_git(path rev-parse --path-format=absolute --git-path "${name}")
  if(path AND EXISTS "${path}")
    set_property(DIRECTORY "${PROJECT_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${path}")
  endif()
endforeach()

qup_git(tag describe --tags --exact-match --match "v${PROJECT_VERSION}" HEAD)
if(tag STREQUAL "")
  qup_git(commit log -1 --format=%cd.%h --date=format-local:%Y%m%d HEAD)
  if(NOT commit STREQUAL "")
    set(QUP_VERSION "${PROJECT_VERSION}+git${commit}")
    # The commit and its time as the Debian changelog writes a date, for the entry of this build.
    qup_git(QUP_VERSION_COMMIT log -1 --format=%h HEAD)
    qup_git(QUP_VERSION_DATE -c log.showSignature=false log -1 --format=%cd
            "--date=format-local:%a, %d %b %Y %H:%M:%S +0000" HEAD)
  endif()
endif()
