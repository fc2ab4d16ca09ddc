# The main window on its own, for tools/mainwindow-screenshot.sh.
if(TARGET mainform_window)
  velmora_program(mainwindow_show GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/mainwindowshot/MainWindowShow.cpp
    LIBS mainform_window mainform_resources foundation_icons)
endif()
