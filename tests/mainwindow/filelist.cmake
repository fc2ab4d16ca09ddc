velmora_test(filelist_model_test LABEL unit
  SOURCES DateiListeModellTest.cpp
  LIBS filelist)
velmora_test(filelist_data_test LABEL unit
  SOURCES DateiListeDatenTest.cpp ${CMAKE_SOURCE_DIR}/tests/foundation/TestFiles.cpp
  LIBS filelist)
target_include_directories(filelist_data_test PRIVATE ${CMAKE_SOURCE_DIR}/tests)
