# Shows file labels of sample paths, or with the argument "browse" the folder
# browser, for screenshots:
#   tools/screenshot.sh BrowseDirShow.exe Dateibeschriftungen labels.png
#   tools/screenshot.sh BrowseDirShow.exe "Ordner suchen" browser.png browse
if(NOT VELMORA_NATIVE)
  velmora_program(BrowseDirShow GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/browsedirshow/BrowseDirShow.cpp
    LIBS controls)
endif()
