velmora_test(mainform_values_test LABEL unit
  SOURCES FensterWerteTest.cpp FehlercodeTest.cpp HistoryRulesTest.cpp PaneRulesTest.cpp
  LIBS mainform)

velmora_test(mainform_settings_test LABEL unit
  SOURCES FensterEinstellungenTest.cpp
  LIBS mainform
  LOCKS registry)

velmora_test(mainform_window_test LABEL gui
  SOURCES MainFormTest.cpp ${CMAKE_SOURCE_DIR}/tests/foundation/TestFiles.cpp $<TARGET_OBJECTS:velmora_res>
  LIBS mainform_window gui_test_main
  NO_GTEST_MAIN
  LOCKS registry)

velmora_test(mainform_status_texts_test LABEL unit
  SOURCES StatusThreadsTest.cpp
  LIBS mainform_window)

velmora_test(mainform_recent_test LABEL gui
  SOURCES MainFormRecentTest.cpp MainFormStatusTest.cpp $<TARGET_OBJECTS:velmora_res>
  LIBS mainform_window gui_test_main
  NO_GTEST_MAIN
  LOCKS registry)

velmora_test(mainform_panes_test LABEL gui
  SOURCES PaneManagementTest.cpp $<TARGET_OBJECTS:velmora_res>
  LIBS mainform_window gui_test_main
  NO_GTEST_MAIN
  LOCKS registry)

velmora_test(mainform_input_test LABEL gui
  SOURCES MainWindowInputTest.cpp ${CMAKE_SOURCE_DIR}/tests/foundation/TestFiles.cpp $<TARGET_OBJECTS:velmora_res>
  LIBS mainform_window gui_test_main
  NO_GTEST_MAIN
  LOCKS registry)

# The splitter under the real mouse, released outside it, in the program itself.
add_test(NAME mainform_splitter_drag
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/splitter-drag.sh ${CMAKE_SOURCE_DIR}/tools $<TARGET_FILE:Velmora>)
set_tests_properties(mainform_splitter_drag PROPERTIES
  LABELS gui TIMEOUT 180 RESOURCE_LOCK "registry;display"
  ENVIRONMENT "VELMORA_WINEPREFIX=${VELMORA_WINEPREFIX};XDG_DATA_HOME=${VELMORA_XDG_DATA_HOME}")

# Extracting and adding through the archive dialogs with the real keyboard.
add_test(NAME mainform_archive_keys
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/archive-keys.sh ${CMAKE_SOURCE_DIR}/tools $<TARGET_FILE:Velmora>)
set_tests_properties(mainform_archive_keys PROPERTIES
  LABELS gui TIMEOUT 180 RESOURCE_LOCK "registry;display"
  ENVIRONMENT "VELMORA_WINEPREFIX=${VELMORA_WINEPREFIX};XDG_DATA_HOME=${VELMORA_XDG_DATA_HOME}")

# The menu bar by mouse on the program's first run, in a fresh Wine prefix.
add_test(NAME mainform_menubar_fresh_prefix
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/menubar-fresh.sh ${CMAKE_SOURCE_DIR}/tools $<TARGET_FILE:Velmora>
          ${CMAKE_CURRENT_BINARY_DIR}/fresh-prefix)
set_tests_properties(mainform_menubar_fresh_prefix PROPERTIES
  LABELS gui TIMEOUT 300 RESOURCE_LOCK display
  ENVIRONMENT "XDG_DATA_HOME=${VELMORA_XDG_DATA_HOME};VELMORA_WINEARCH=${VELMORA_WINEARCH}")

velmora_test(mainform_handlers_test LABEL gui
  SOURCES AppHandlersTest.cpp $<TARGET_OBJECTS:velmora_res>
  LIBS mainform_window gui_test_main
  NO_GTEST_MAIN
  LOCKS registry)

# One session's lists, read back from the registry after the close.
velmora_test(mainform_history_state_test LABEL gui
  SOURCES HistoryStateTest.cpp $<TARGET_OBJECTS:velmora_res>
  LIBS mainform_window gui_test_main
  NO_GTEST_MAIN
  LOCKS registry)

# The function-key bar and the keys by real input, marking and the display filter.
velmora_test(mainform_keys_test LABEL gui
  SOURCES MainFormKeysTest.cpp MainFormFilterTest.cpp ${CMAKE_SOURCE_DIR}/tests/foundation/TestFiles.cpp $<TARGET_OBJECTS:velmora_res>
  LIBS mainform_window gui_test_main
  NO_GTEST_MAIN
  LOCKS registry)

velmora_test(mainform_menus_test LABEL gui
  SOURCES MainFormMenusTest.cpp $<TARGET_OBJECTS:velmora_res>
  LIBS mainform_window gui_test_main
  NO_GTEST_MAIN
  LOCKS registry)

velmora_test(mainform_commands_test LABEL gui
  SOURCES MainFormCommandsTest.cpp ${CMAKE_SOURCE_DIR}/tests/foundation/TestFiles.cpp $<TARGET_OBJECTS:velmora_res>
  LIBS mainform_window gui_test_main
  NO_GTEST_MAIN
  LOCKS registry)

# The archive objects of the main window and the archive pane, over the stand-in
# zip library's DLLs.
velmora_test(mainform_archive_test LABEL gui
  SOURCES MainFormArchiveTest.cpp $<TARGET_OBJECTS:velmora_res>
  LIBS mainform_window gui_test_main
  NO_GTEST_MAIN
  LOCKS registry)
add_dependencies(mainform_archive_test zlzip32 zlunz32)
target_compile_definitions(mainform_archive_test PRIVATE VELMORA_ZIPLIB_DIR="$<TARGET_FILE_DIR:zlzip32>")
# The archive commands over the real routines and the stand-in zip library. The
# moves that cannot finish go onto the small drive s: of the file routines'
# fixture (most of whose other users hold the registry lock anyway). Beside three
# builds it has taken five times its quiet running time.
velmora_test(mainform_arccommands_test LABEL gui TIMEOUT 600
  SOURCES MainFormArcCommandsTest.cpp MainFormDropTest.cpp ${CMAKE_SOURCE_DIR}/tests/foundation/TestFiles.cpp
          ${CMAKE_SOURCE_DIR}/tests/filetools/FileRoutinesTestSupport.cpp $<TARGET_OBJECTS:velmora_res>
  LIBS mainform_window gui_test_main
  NO_GTEST_MAIN
  LOCKS registry filetools_tree)
set_tests_properties(mainform_arccommands_test PROPERTIES FIXTURES_REQUIRED filetools_tree)
set_property(TEST mainform_arccommands_test APPEND PROPERTY ENVIRONMENT
  VELMORA_FILETOOLS_FIXTURE=${CMAKE_BINARY_DIR}/filetools-fixture)
target_include_directories(mainform_arccommands_test PRIVATE ${CMAKE_SOURCE_DIR}/tests)
add_dependencies(mainform_arccommands_test zlzip32 zlunz32)
target_compile_definitions(mainform_arccommands_test PRIVATE VELMORA_ZIPLIB_DIR="$<TARGET_FILE_DIR:zlzip32>")
velmora_test(zipview_test LABEL gui
  SOURCES ZipViewTest.cpp $<TARGET_OBJECTS:velmora_res>
  LIBS mainform_window gui_test_main
  NO_GTEST_MAIN
  LOCKS registry)
add_dependencies(zipview_test zlzip32 zlunz32)
target_compile_definitions(zipview_test PRIVATE VELMORA_ZIPLIB_DIR="$<TARGET_FILE_DIR:zlzip32>")

# The file commands end to end on a tree below c:\vel-e2e, and the registry they
# leave: one entry, so that no other test that writes the history keys or the
# dialog positions comes between the run and the listing. The copy onto a full
# drive uses the small drive of the file routines' fixture.
add_executable(mainform_end_to_end MainFormEndToEndTest.cpp
  ${CMAKE_SOURCE_DIR}/tests/foundation/TestFiles.cpp
  ${CMAKE_SOURCE_DIR}/tests/filetools/FileRoutinesTestSupport.cpp
  $<TARGET_OBJECTS:velmora_res>)
target_link_libraries(mainform_end_to_end PRIVATE mainform_window gui_test_main GTest::gmock ${VELMORA_WIN32_LIBS})
target_include_directories(mainform_end_to_end PRIVATE ${CMAKE_SOURCE_DIR}/tests)
add_test(NAME mainform_fileops_regquery
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/fileops-regquery.sh ${CMAKE_SOURCE_DIR}/tools
          $<TARGET_FILE:mainform_end_to_end>)
set_tests_properties(mainform_fileops_regquery PROPERTIES
  LABELS gui TIMEOUT 300 RESOURCE_LOCK "registry;display;filetools_tree" FIXTURES_REQUIRED filetools_tree
  ENVIRONMENT "VELMORA_WINEPREFIX=${VELMORA_WINEPREFIX};XDG_DATA_HOME=${VELMORA_XDG_DATA_HOME};VELMORA_FILETOOLS_FIXTURE=${CMAKE_BINARY_DIR}/filetools-fixture")

# The file types and the quick viewer of the main window, in the build's own prefix.
velmora_test(mainform_filetypes_test LABEL gui
  SOURCES MainFormDateiTypenTest.cpp ${CMAKE_SOURCE_DIR}/tests/foundation/RegTool.cpp $<TARGET_OBJECTS:velmora_res>
  LIBS mainform_window gui_test_main
  NO_GTEST_MAIN
  LOCKS registry)
target_include_directories(mainform_filetypes_test PRIVATE ${CMAKE_SOURCE_DIR}/tests)
set_property(TEST mainform_filetypes_test APPEND PROPERTY ENVIRONMENT VELMORA_WINEPREFIX=${VELMORA_WINEPREFIX})

# The options command: the written groups against logging panes, the toolbar,
# and the packer settings under Cancel.
velmora_test(mainform_options_test LABEL gui
  SOURCES OptionenBefehlTest.cpp ${CMAKE_SOURCE_DIR}/tests/foundation/TestFiles.cpp $<TARGET_OBJECTS:velmora_res>
  LIBS mainform_window gui_test_main
  NO_GTEST_MAIN
  LOCKS registry)
target_include_directories(mainform_options_test PRIVATE ${CMAKE_SOURCE_DIR}/tests)

# Real drags between the panes, out of an archive pane, and to and from another
# program (droprec), in the program itself.
add_test(NAME mainform_drop_drag
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/drop-drag.sh ${CMAKE_SOURCE_DIR}/tools $<TARGET_FILE:Velmora> $<TARGET_FILE:droprec>)
set_tests_properties(mainform_drop_drag PROPERTIES
  LABELS gui TIMEOUT 400 RESOURCE_LOCK "registry;display"
  ENVIRONMENT "VELMORA_WINEPREFIX=${VELMORA_WINEPREFIX};XDG_DATA_HOME=${VELMORA_XDG_DATA_HOME}")
