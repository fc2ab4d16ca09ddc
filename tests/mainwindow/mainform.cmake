velmora_test(mainform_values_test LABEL unit
  SOURCES FensterWerteTest.cpp
  LIBS mainform)

velmora_test(mainform_settings_test LABEL unit
  SOURCES FensterEinstellungenTest.cpp
  LIBS mainform
  LOCKS registry)

velmora_test(mainform_window_test LABEL gui
  SOURCES MainFormTest.cpp
  LIBS mainform_window mainform_resources foundation_icons gui_test_main
  NO_GTEST_MAIN
  LOCKS registry)
