# Shows the splash window on its own (it lives only while the main window is
# created), for screenshots: tools/screenshot.sh SplashShow.exe Velmora out.png
if(NOT VELMORA_NATIVE)
  velmora_program(SplashShow GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/splashshow/SplashShow.cpp $<TARGET_OBJECTS:velmora_res>
    LIBS velmora_start)
endif()
