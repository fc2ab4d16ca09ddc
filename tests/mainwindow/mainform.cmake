velmora_test(mainform_values_test LABEL unit
  SOURCES FensterWerteTest.cpp
  LIBS mainform)

velmora_test(mainform_settings_test LABEL unit
  SOURCES FensterEinstellungenTest.cpp
  LIBS mainform
  LOCKS registry)
