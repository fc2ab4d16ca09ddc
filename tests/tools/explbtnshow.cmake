# Shows a few explorer buttons in their looks (idle, hot, pressed, down,
# disabled, with a drop-down mark), for screenshots:
#   tools/screenshot.sh ExplBtnShow.exe ExplBtnShow out.png
if(NOT VELMORA_NATIVE)
  velmora_program(ExplBtnShow GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/explbtnshow/ExplBtnShow.cpp
    LIBS controls)
endif()
