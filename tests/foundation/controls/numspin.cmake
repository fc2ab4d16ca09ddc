# The spin edit's window test; included from tests/foundation/CMakeLists.txt for now.
velmora_test(numspin_test LABEL gui
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/NumSpinTest.cpp
  LIBS controls gui_test_main
  NO_GTEST_MAIN)
