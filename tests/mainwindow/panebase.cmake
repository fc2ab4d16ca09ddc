velmora_test(panebase_test LABEL unit
  SOURCES ByteSizeTest.cpp
  LIBS panebase)
velmora_test(panebase_window_test LABEL gui
  SOURCES DMChildTest.cpp
  LIBS panebase gui_test_main
  NO_GTEST_MAIN)
