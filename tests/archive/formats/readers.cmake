# The ARJ, LHA, ARC and ZOO readers, their decoders and the self-extracting
# program converter, over the fixtures in tests/data/readers.
velmora_test(readers_test LABEL unit
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ReadersDecodeTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ReadersExtractTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ReadersFormatsTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ReadersSfxTest.cpp
  LIBS arcformats)

velmora_test(readers_arctool_test LABEL unit
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ReadersArcToolTest.cpp
  LIBS arctool_commands arcformats)
