# The archive components' shared base and the lister.
velmora_test(arcbase_test LABEL unit
  SOURCES ArcSharedTest.cpp ArcBaseTest.cpp
  LIBS arcformats)

velmora_test(arclister_fixture_test LABEL unit
  SOURCES ArcListerFixtureTest.cpp
  LIBS arctool_commands arcformats)
