# The one value that chooses the platform: which window the program runs on, and with it the
# store, the network layer, the entry points, the driver, the tests and the packages of that
# system. Every layer keeps its platform's code in a sub-folder named after the value
# (ui/platform/qt/, settings/win32/, ...), added by qup_add_wing; cmake/platforms/VALUE.cmake
# sets up what the platform needs from the tool chain.
if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(qup_platform_default win32)
elseif(EMSCRIPTEN)
  set(qup_platform_default web)
else()
  set(qup_platform_default qt)
endif()
set(QUP_PLATFORM "${qup_platform_default}" CACHE STRING
    "The window the program is built for: qt (Linux), win32 (Windows, with a mingw-w64 tool chain) or web (a web page, with Emscripten)")
set_property(CACHE QUP_PLATFORM PROPERTY STRINGS qt win32 web)
if(NOT EXISTS "${CMAKE_CURRENT_LIST_DIR}/platforms/${QUP_PLATFORM}.cmake")
  message(FATAL_ERROR "QUP_PLATFORM=${QUP_PLATFORM} is not a platform of this project (qt, win32, web)")
endif()
include("${CMAKE_CURRENT_LIST_DIR}/platforms/${QUP_PLATFORM}.cmake")

# Adds LAYER/<platform>/ when the layer has a wing for the platform being built.
function(qup_add_wing layer)
  if(EXISTS "${PROJECT_SOURCE_DIR}/${layer}/${QUP_PLATFORM}/CMakeLists.txt")
    add_subdirectory("${PROJECT_SOURCE_DIR}/${layer}/${QUP_PLATFORM}"
                     "${PROJECT_BINARY_DIR}/${layer}/${QUP_PLATFORM}")
  endif()
endfunction()
