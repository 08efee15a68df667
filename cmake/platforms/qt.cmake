# Linux: the window is Qt's, found here and nowhere else; the server and the benchmarks are
# built beside the program by default, and GoogleTest comes as Debian's installed package.
# Qt is looked for quietly: its Gui package also looks for libraries the program does not use
# (XKB, for Qt's own keyboard code) and would report each one it misses. A missing part of Qt
# still stops here.
find_package(Qt6 REQUIRED QUIET COMPONENTS Core Gui Widgets Test)
qt_standard_project_setup()
set(QUP_PLATFORM_PARTS_DEFAULT ON)
set(QUP_GOOGLETEST_FROM_SOURCE OFF)
set(QUP_PLATFORM_UNIT_TESTS ON)
