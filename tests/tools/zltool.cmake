# zltool: one TZipLib call on the real zip library DLLs, printing every
# callback message and the result. It runs beside Velmora.exe, where the DLLs are.
if(NOT VELMORA_NATIVE)
  add_executable(zltool ${CMAKE_CURRENT_LIST_DIR}/zltool/ZlTool.cpp)
  target_link_libraries(zltool PRIVATE archiveops ${VELMORA_WIN32_LIBS})
  target_link_options(zltool PRIVATE -municode)
  set_target_properties(zltool PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/src/mainwindow)
  add_dependencies(zltool zlzip32 zlunz32)
endif()
