# ZIP extraction over the committed fixtures, into scratch folders.
velmora_test(unzip_test LABEL unit
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DecodeUnzipTest.cpp
  LIBS arcformats)
