# arctool extract in-process, over the ZIP extraction fixtures (once the test
# tool itself is part of the tree).
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/tools/arctool.cmake)
  velmora_test(arctool_extract_test LABEL unit
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/DecodeArcToolTest.cpp
    LIBS arctool_commands)
endif()
# The program itself under the emulator: names that Windows cannot create are
# skipped and the entries after them still written.
if(NOT VELMORA_NATIVE)
  add_test(NAME arctool_program_names
    COMMAND arctool extract ${CMAKE_SOURCE_DIR}/tests/data/zip-extract/names.zip
            ${CMAKE_CURRENT_BINARY_DIR}/arctool-names)
  set_tests_properties(arctool_program_names PROPERTIES LABELS unit TIMEOUT 120
    PASS_REGULAR_EXPRESSION "rohr[|][.]txt\t25138[\r\n]+klein<[.]txt\t25138[\r\n]+.*kurz[.]txt\tok[\r\n]+danach[.]txt\tok")
endif()
