# Shows the archive pane inside a folder of an archive, for screenshots:
# tools/screenshots/zipview.sh
if(NOT VELMORA_NATIVE)
  velmora_program(ZipViewShow GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/zipviewshow/ZipViewShow.cpp $<TARGET_OBJECTS:foundation_icons>
    LIBS mainform_window)
  target_include_directories(ZipViewShow PRIVATE ${CMAKE_CURRENT_LIST_DIR}/filelistshow)
  add_dependencies(ZipViewShow zlzip32 zlunz32)
endif()
