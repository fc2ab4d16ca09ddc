# The program start: its rules, the splash window, and Velmora.exe run in the prefix.
velmora_test(program_start_test LABEL gui
  SOURCES ProgramStartTest.cpp SplashTest.cpp FirstRunTest.cpp $<TARGET_OBJECTS:velmora_res>
  LIBS velmora_start gui_test_main
  LOCKS registry
  NO_GTEST_MAIN)
add_dependencies(program_start_test Velmora)
target_compile_definitions(program_start_test PRIVATE VELMORA_EXE="$<TARGET_FILE:Velmora>")
