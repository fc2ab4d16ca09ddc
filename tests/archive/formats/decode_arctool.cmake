# arctool extract in-process, over the ZIP extraction fixtures (once the test
# tool itself is part of the tree).
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/tools/arctool.cmake)
  velmora_test(arctool_extract_test LABEL unit
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/DecodeArcToolTest.cpp
    LIBS arctool_commands)
endif()
