# The program start, the splash window and the program's pictures: Velmora.exe.
enable_language(RC)
add_library(velmora_start STATIC ProgramStart.cpp SplashScreen.cpp)
target_include_directories(velmora_start PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(velmora_start PUBLIC mainform_window controls gui foundation_store rtl ole32 shell32)
# An object library: a static library would drop the unreferenced resources.
add_library(velmora_res OBJECT Velmora.rc)
target_include_directories(velmora_res PRIVATE ${CMAKE_SOURCE_DIR}/src/foundation)

velmora_program(Velmora GUI
  SOURCES Velmora.cpp $<TARGET_OBJECTS:velmora_res>
  LIBS velmora_start)
target_link_libraries(Velmora PRIVATE archiveops)
