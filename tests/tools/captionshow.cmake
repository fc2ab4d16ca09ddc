# Shows two forms with gradient caption bars, one active and one not, for
# screenshots: tools/screenshot.sh CaptionShow.exe "Velmora -" out.png
if(NOT VELMORA_NATIVE)
  velmora_program(CaptionShow GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/captionshow/CaptionShow.cpp
    LIBS controls)
endif()
