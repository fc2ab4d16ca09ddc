# The program start, the splash window and the program's pictures: Velmora.exe.
enable_language(RC)
add_library(velmora_start STATIC ProgramStart.cpp SplashScreen.cpp)
target_include_directories(velmora_start PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(velmora_start PUBLIC mainform_window controls gui foundation_store rtl ole32 shell32)
# An object library: a static library would drop the unreferenced resources.
add_library(velmora_res OBJECT Velmora.rc)
target_include_directories(velmora_res PRIVATE ${CMAKE_SOURCE_DIR}/src/foundation)
# The resource compiler reports no dependencies: name the included scripts and
# pictures, so that a changed one rebuilds the resources.
file(GLOB velmora_res_inputs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/res/*
  ${CMAKE_SOURCE_DIR}/src/foundation/icons/*)
set_source_files_properties(Velmora.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_CURRENT_SOURCE_DIR}/MainForm.rc;${CMAKE_SOURCE_DIR}/src/foundation/IconRoutinen.rc;${velmora_res_inputs}")

velmora_program(Velmora GUI
  SOURCES Velmora.cpp $<TARGET_OBJECTS:velmora_res>
  LIBS velmora_start)
target_link_libraries(Velmora PRIVATE archiveops)
