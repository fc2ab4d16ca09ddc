# The archive pane reading 100,000 and 200,000 entries against a plain list
# view: a program, not a test (see ArcPaneBench.cpp). Run it under Wine with a
# display, beside the zip DLLs (it is built next to them):
#   xvfb-run -a -s "-screen 0 1280x1024x24" tools/wine-run.sh build/src/mainwindow/arcpane_bench.exe
# Figures count only from an optimised build (the default RelWithDebInfo).
if(NOT VELMORA_NATIVE)
  velmora_program(arcpane_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/arcpanebench/ArcPaneBench.cpp $<TARGET_OBJECTS:foundation_icons>
    LIBS mainform_window)
  target_include_directories(arcpane_bench PRIVATE ${CMAKE_CURRENT_LIST_DIR}/filelistshow)
  target_compile_options(arcpane_bench PRIVATE -O2)
  set_target_properties(arcpane_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/src/mainwindow)
  add_dependencies(arcpane_bench zlzip32 zlunz32)
endif()
