# Windows, cross-built with mingw-w64: the program speaks to the Windows API itself (no Qt, xcb
# or fontconfig) and carries resources; the server and the benchmarks are Linux programs and are
# left out by default; GoogleTest is built from Debian's source package with the same compiler.
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Windows")
  message(FATAL_ERROR "QUP_PLATFORM=win32 needs a Windows tool chain (cmake/toolchains/)")
endif()
enable_language(RC)
set(QUP_PLATFORM_PARTS_DEFAULT OFF)
set(QUP_GOOGLETEST_FROM_SOURCE ON)
set(QUP_PLATFORM_UNIT_TESTS ON)
