# The shared decoders over raw streams in memory. zlib only makes test streams.
if(VELMORA_NATIVE)
  find_library(VELMORA_TEST_ZLIB NAMES z REQUIRED)
else()
  find_library(VELMORA_TEST_ZLIB NAMES libz.a REQUIRED)
endif()
velmora_test(decode_test LABEL unit
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DecodeTestData.cpp
          ${CMAKE_CURRENT_LIST_DIR}/DecodeLzhTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/DecodeInflateTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/DecodeOldMethodsTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/DecodeCryptTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/Crc32Test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/BackgroundWriterTest.cpp
  LIBS arcformats ${VELMORA_TEST_ZLIB})
