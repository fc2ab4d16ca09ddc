# The split job against a bare copy loop: a program, not a test (see
# SplitBench.cpp). Run it under Wine and Xvfb: wine split_bench.exe [FOLDER]
# (default Z:\dev\shm\velmora-splitbench\, tmpfs).
if(NOT VELMORA_NATIVE)
  velmora_program(split_bench GUI SOURCES ${CMAKE_CURRENT_LIST_DIR}/splitbench/SplitBench.cpp LIBS filetools)
endif()
