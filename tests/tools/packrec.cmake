# packrec: a stand-in for every outside packer. Tests copy it under the
# declared program names; it logs how it was started and does what the test
# asks through its environment (sleep, write files, exit code).
if(NOT VELMORA_NATIVE)
  add_executable(packrec ${CMAKE_CURRENT_LIST_DIR}/packrec/PackRec.cpp)
  target_link_libraries(packrec PRIVATE ${VELMORA_WIN32_LIBS})
  target_link_options(packrec PRIVATE -municode)
endif()
