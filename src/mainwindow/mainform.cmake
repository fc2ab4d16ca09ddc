# The main window THauptform and its stored window values.
add_library(mainform STATIC FensterWerte.cpp FensterEinstellungen.cpp)
target_include_directories(mainform PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(mainform PUBLIC panebase foundation_shell)
