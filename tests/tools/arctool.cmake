# arctool: the archive library from the command line. Every *.cpp of arctool/
# but the entry point is a subcommand (or shared by them) and goes into an object
# library, so that tests run the same code in-process and every registration links.
# The Windows build makes the program too, on the library's Win32 platform layer.
file(GLOB arctool_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/arctool/*.cpp)
list(FILTER arctool_sources EXCLUDE REGEX "ArcToolMain\\.cpp$")
add_library(arctool_commands OBJECT ${arctool_sources})
target_link_libraries(arctool_commands PUBLIC arcformats)
target_include_directories(arctool_commands PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/arctool)

add_executable(arctool arctool/ArcToolMain.cpp)
target_link_libraries(arctool PRIVATE arctool_commands)
if(NOT VELMORA_NATIVE)
  target_link_libraries(arctool PRIVATE ${VELMORA_WIN32_LIBS})
endif()
