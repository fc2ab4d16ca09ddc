# Shows the file list pane in kind 1 or 2 in a test MDI frame, for screenshots:
# tools/screenshots/filelist.sh
if(NOT VELMORA_NATIVE)
  velmora_program(FileListShow GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/filelistshow/FileListShow.cpp $<TARGET_OBJECTS:foundation_icons>
    LIBS filelist_pane)
  target_include_directories(FileListShow PRIVATE ${CMAKE_CURRENT_LIST_DIR}/filelistshow)
endif()
