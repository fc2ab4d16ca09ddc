# The text-search engine, the file search and the search-result pane against
# plain loops: a program, not a test (see SearchBench.cpp). Figures count only
# from a Release build (cmake -DCMAKE_BUILD_TYPE=Release) run under Wine with a
# display, on the trees of searchbench/make-inputs.sh:
#   xvfb-run -a -s "-screen 0 1280x1024x24" wine search_bench.exe TREE-A TREE-B
if(NOT VELMORA_NATIVE)
  velmora_program(search_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/searchbench/SearchBench.cpp $<TARGET_OBJECTS:foundation_icons>
    LIBS mainform_window)
  target_include_directories(search_bench PRIVATE ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_CURRENT_LIST_DIR}/filelistshow)
endif()
