# The list view benchmark: a program, not a test. It fills a library TListView
# and a raw SysListView32 with the same rows and walks their selections; figures
# count only from a Release build (cmake -DCMAKE_BUILD_TYPE=Release), run under
# Wine with a display (xvfb-run).
if(NOT VELMORA_NATIVE)
  velmora_program(listview_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/listviewbench/ListViewBench.cpp
    LIBS gui)
endif()
