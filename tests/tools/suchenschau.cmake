# Shows the file search's dialogs and the search-result and basket pane with
# sample data, for screenshots: tools/screenshots/search.sh
if(NOT VELMORA_NATIVE)
  velmora_program(SuchenSchau GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/suchenschau/SuchenSchau.cpp $<TARGET_OBJECTS:foundation_icons>
    LIBS mainform_window)
  target_include_directories(SuchenSchau PRIVATE ${CMAKE_CURRENT_LIST_DIR}/filelistshow)
endif()
