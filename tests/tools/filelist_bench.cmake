# The file list pane against a plain shell listing and list view: a program, not
# a test (see FileListBench.cpp). Figures count only from a Release build
# (cmake -DCMAKE_BUILD_TYPE=Release) run under Wine with a display:
#   xvfb-run -a -s "-screen 0 1280x1024x24" wine filelist_bench.exe [FOLDER]
if(NOT VELMORA_NATIVE)
  velmora_program(filelist_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/filelistbench/FileListBench.cpp
            ${CMAKE_CURRENT_LIST_DIR}/filelistbench/FileListBenchPane.cpp
            $<TARGET_OBJECTS:foundation_icons>
    LIBS filelist_pane)
  target_include_directories(filelist_bench PRIVATE ${CMAKE_CURRENT_LIST_DIR}/filelistbench
                                                    ${CMAKE_CURRENT_LIST_DIR}/filelistshow)
endif()
