# The archive contents dialog filling its view from a listing of 100,000
# entries against a plain enhanced list view: a program, not a test (see
# ArcContentsBench.cpp). Run it under Wine with a display:
#   xvfb-run -a -s "-screen 0 1280x1024x24" tools/wine-run.sh build/tests/tools/arccontents_bench.exe
if(NOT VELMORA_NATIVE)
  velmora_program(arccontents_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/arccontentsbench/ArcContentsBench.cpp $<TARGET_OBJECTS:foundation_icons>
    LIBS archiveops)
  target_include_directories(arccontents_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_options(arccontents_bench PRIVATE -O2)
  add_dependencies(arccontents_bench zlzip32 zlunz32)
  target_compile_definitions(arccontents_bench PRIVATE VELMORA_ZIPLIB_DIR="$<TARGET_FILE_DIR:zlzip32>")
endif()
