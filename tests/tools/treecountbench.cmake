# The status line's tree counter against a plain walk: a program, not a test
# (see TreeCountBench.cpp). Run it under Wine: wine treecount_bench.exe [FOLDER]
if(NOT VELMORA_NATIVE)
  add_executable(treecount_bench ${CMAKE_CURRENT_LIST_DIR}/treecountbench/TreeCountBench.cpp)
  target_link_libraries(treecount_bench PRIVATE mainform_window)
  target_link_options(treecount_bench PRIVATE -municode)
endif()
