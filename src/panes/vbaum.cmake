# The folder tree pane TVbaumForm and its rules.
add_library(vbaum STATIC VbaumRegeln.cpp)
target_include_directories(vbaum PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(vbaum PUBLIC foundation_shell)
add_library(vbaum_pane STATIC Vbaum.cpp)
target_link_libraries(vbaum_pane PUBLIC vbaum panebase filetools foundation_shell gui shell32 ole32)
