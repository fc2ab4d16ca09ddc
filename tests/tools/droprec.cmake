# droprec: a small program on the other side of a drag. It takes what is dropped
# on its window into a folder, logs names and effects, and drags a file of its own
# (see droprec/DropRec.cpp). The drag scripts of the main window start it.
if(NOT VELMORA_NATIVE)
  add_executable(droprec ${CMAKE_CURRENT_LIST_DIR}/droprec/DropRec.cpp)
  target_link_libraries(droprec PRIVATE foundation_shell ${VELMORA_WIN32_LIBS})
  target_link_options(droprec PRIVATE -municode -mwindows)
endif()
