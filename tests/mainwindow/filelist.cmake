velmora_test(filelist_model_test LABEL unit
  SOURCES DateiListeModellTest.cpp
  LIBS filelist)
velmora_test(filelist_data_test LABEL unit
  SOURCES DateiListeDatenTest.cpp ${CMAKE_SOURCE_DIR}/tests/foundation/TestFiles.cpp
  LIBS filelist)
target_include_directories(filelist_data_test PRIVATE ${CMAKE_SOURCE_DIR}/tests)
velmora_test(filelist_window_test LABEL gui
  SOURCES DateiListeFensterTest.cpp ${CMAKE_SOURCE_DIR}/tests/foundation/TestFiles.cpp
          $<TARGET_OBJECTS:foundation_icons>
  LIBS filelist_pane gui_test_main
  NO_GTEST_MAIN
  LOCKS registry)
target_include_directories(filelist_window_test PRIVATE ${CMAKE_SOURCE_DIR}/tests)
velmora_test(filelist_columns_test LABEL gui
  SOURCES DateiListeSpaltenTest.cpp ${CMAKE_SOURCE_DIR}/tests/foundation/TestFiles.cpp
          $<TARGET_OBJECTS:foundation_icons>
  LIBS filelist_pane gui_test_main
  NO_GTEST_MAIN
  LOCKS registry)
target_include_directories(filelist_columns_test PRIVATE ${CMAKE_SOURCE_DIR}/tests)
# The column-width test and the registry listing run as one entry, so that no
# other test that writes the dialog values can come between them.
add_test(NAME filelist_columns_regquery
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/filelist-regquery.sh ${CMAKE_SOURCE_DIR}/tools
          $<TARGET_FILE:filelist_columns_test>)
set_tests_properties(filelist_columns_regquery PROPERTIES
  LABELS gui RESOURCE_LOCK "registry;display"
  ENVIRONMENT VELMORA_WINEPREFIX=${VELMORA_WINEPREFIX})
