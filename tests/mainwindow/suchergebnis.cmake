# The search-result and basket pane: its rules, and the pane in the main window.
velmora_test(suchergebnis_rules_test LABEL unit
  SOURCES SuchergebnisRegelnTest.cpp
  LIBS suchergebnis_pane)

velmora_test(suchergebnis_window_test LABEL gui
  SOURCES SuchergebnisTest.cpp $<TARGET_OBJECTS:velmora_res>
  LIBS mainform_window gui_test_main
  NO_GTEST_MAIN
  LOCKS registry)
add_dependencies(suchergebnis_window_test zlzip32 zlunz32)
target_compile_definitions(suchergebnis_window_test PRIVATE VELMORA_ZIPLIB_DIR="$<TARGET_FILE_DIR:zlzip32>")
# The column-width test and the registry listing run as one entry, so that no
# other test that writes the dialog values can come between them.
add_test(NAME suchergebnis_columns_regquery
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/suchergebnis-regquery.sh ${CMAKE_SOURCE_DIR}/tools
          $<TARGET_FILE:suchergebnis_window_test>)
set_tests_properties(suchergebnis_columns_regquery PROPERTIES
  LABELS gui RESOURCE_LOCK "registry;display"
  ENVIRONMENT VELMORA_WINEPREFIX=${VELMORA_WINEPREFIX})
