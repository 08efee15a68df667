# Linux: the window is Qt's, found here and nowhere else; the server and the benchmarks are
# built beside the program by default, and GoogleTest comes as Debian's installed package.
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets Test)
qt_standard_project_setup()
set(QUP_PLATFORM_PARTS_DEFAULT ON)
set(QUP_GOOGLETEST_FROM_SOURCE OFF)
