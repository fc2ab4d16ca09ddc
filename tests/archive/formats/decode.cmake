# The shared decoders over raw streams in memory.
velmora_test(decode_test LABEL unit
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DecodeTestData.cpp
          ${CMAKE_CURRENT_LIST_DIR}/DecodeLzhTest.cpp
  LIBS arcformats)
