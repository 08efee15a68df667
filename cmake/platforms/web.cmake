# The web page: the program compiled to WebAssembly with Emscripten (emcmake), its window made
# of the page's own HTML controls. The logic's unit tests, the server and the benchmarks are
# the Linux build's; this build's tests play the transcripts in a browser (tests/web/).
if(NOT EMSCRIPTEN)
  message(FATAL_ERROR "QUP_PLATFORM=web needs Emscripten's tool chain: configure with emcmake")
endif()
set(QUP_PLATFORM_PARTS_DEFAULT OFF)
set(QUP_GOOGLETEST_FROM_SOURCE OFF)
set(QUP_PLATFORM_UNIT_TESTS OFF)
# The modal loops wait for the user in the middle of the logic's calls, as on the desktop:
# Asyncify lets the code wait on the page's events. Exceptions stay off, as the code uses none.
add_compile_options(-fno-exceptions)
add_link_options(-sASYNCIFY -sASYNCIFY_STACK_SIZE=65536 -sALLOW_MEMORY_GROWTH=1)
