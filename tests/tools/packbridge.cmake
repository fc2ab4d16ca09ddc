# packbridge: installed as "arj.exe" or "arc.exe", runs the host system's
# packer of that name with the words it was given (paths made host paths) and
# exits with its status.
if(NOT VELMORA_NATIVE)
  add_executable(packbridge ${CMAKE_CURRENT_LIST_DIR}/packbridge/PackBridge.cpp)
  target_link_libraries(packbridge PRIVATE ${VELMORA_WIN32_LIBS})
  target_link_options(packbridge PRIVATE -municode)
endif()
