velmora_test(panebase_test LABEL unit
  SOURCES ByteSizeTest.cpp
  LIBS panebase)
