# Velmora's start and its two lists against a bare window and a bare list view
# program started the same way: a program, not a test (see StartBench.cpp).
# Figures count only from a Release build (cmake -DCMAKE_BUILD_TYPE=Release) run
# under Wine with a display:
#   xvfb-run -a -s "-screen 0 1280x1024x24" tools/wine-run.sh build64rel/tests/tools/start_bench.exe \
#       build64rel/src/mainwindow/Velmora.exe
if(NOT VELMORA_NATIVE)
  velmora_program(start_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/startbench/StartBench.cpp)
  target_compile_options(start_bench PRIVATE -O2)
endif()
