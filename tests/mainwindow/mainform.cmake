velmora_test(mainform_values_test LABEL unit
  SOURCES FensterWerteTest.cpp HistoryRulesTest.cpp
  LIBS mainform)

velmora_test(mainform_settings_test LABEL unit
  SOURCES FensterEinstellungenTest.cpp
  LIBS mainform
  LOCKS registry)

velmora_test(mainform_window_test LABEL gui
  SOURCES MainFormTest.cpp $<TARGET_OBJECTS:velmora_res>
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
