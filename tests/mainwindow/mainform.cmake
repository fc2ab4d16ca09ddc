velmora_test(mainform_values_test LABEL unit
  SOURCES FensterWerteTest.cpp
  LIBS mainform)
