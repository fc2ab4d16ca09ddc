velmora_test(vbaum_rules_test LABEL unit
  SOURCES VbaumRegelnTest.cpp ${CMAKE_SOURCE_DIR}/tests/foundation/TestFiles.cpp
  LIBS vbaum)
target_include_directories(vbaum_rules_test PRIVATE ${CMAKE_SOURCE_DIR}/tests)

# The tree pane on a scratch drive y: of the prefix, made outside Wine.
set(VBAUM_DRIVE_DIR ${CMAKE_BINARY_DIR}/vbaum-drive)
add_test(NAME vbaum_drive_setup COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/vbaum-drive.sh setup ${VBAUM_DRIVE_DIR})
add_test(NAME vbaum_drive_cleanup COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/vbaum-drive.sh cleanup ${VBAUM_DRIVE_DIR})
set_tests_properties(vbaum_drive_setup PROPERTIES
  LABELS gui FIXTURES_SETUP vbaum_drive RESOURCE_LOCK vbaum_drive
  ENVIRONMENT VELMORA_WINEPREFIX=${VELMORA_WINEPREFIX})
set_tests_properties(vbaum_drive_cleanup PROPERTIES
  LABELS gui FIXTURES_CLEANUP vbaum_drive RESOURCE_LOCK vbaum_drive
  ENVIRONMENT VELMORA_WINEPREFIX=${VELMORA_WINEPREFIX})
velmora_test(vbaum_window_test LABEL gui
  SOURCES VbaumFensterTest.cpp ${CMAKE_SOURCE_DIR}/tests/foundation/TestFiles.cpp
          $<TARGET_OBJECTS:foundation_icons>
  LIBS vbaum_pane filelist_pane gui_test_main
  NO_GTEST_MAIN
  LOCKS vbaum_drive)
target_include_directories(vbaum_window_test PRIVATE ${CMAKE_SOURCE_DIR}/tests)
set_tests_properties(vbaum_window_test PROPERTIES FIXTURES_REQUIRED vbaum_drive)
