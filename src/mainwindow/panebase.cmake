# The pane base class with the pane kinds, the archive totals and the byte-size texts.
add_library(panebase STATIC DMChild_Typen.cpp DMChild_Vorlage.cpp)
target_include_directories(panebase PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(panebase PUBLIC foundation gui shell32)
