# The pane base class; the pane kinds, archive totals and byte-size texts are the foundation's.
add_library(panebase STATIC DMChild_Vorlage.cpp)
target_include_directories(panebase PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(panebase PUBLIC foundation gui shell32)
# What the panes share of dropping: key effects and the drop target that asks
# its pane where a drop goes.
target_sources(panebase PRIVATE PaneDrop.cpp)
target_link_libraries(panebase PUBLIC foundation_shell)
