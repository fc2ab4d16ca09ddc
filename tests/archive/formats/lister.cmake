# The archive components' shared base and the lister.
velmora_test(arcbase_test LABEL unit
  SOURCES ArcSharedTest.cpp ArcBaseTest.cpp
  LIBS arcformats)
