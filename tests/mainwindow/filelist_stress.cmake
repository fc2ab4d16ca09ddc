velmora_test(filelist_stress_test LABEL gui
  SOURCES DateiListeStressTest.cpp ${CMAKE_SOURCE_DIR}/tests/foundation/TestFiles.cpp
          $<TARGET_OBJECTS:foundation_icons>
  LIBS filelist_pane gui_test_main
  NO_GTEST_MAIN
  TIMEOUT 600)
target_include_directories(filelist_stress_test PRIVATE ${CMAKE_SOURCE_DIR}/tests)
