# Shows one archive dialog with sample data until it is closed, for
# tools/screenshots/arcdialogs.sh.
if(NOT VELMORA_NATIVE)
  velmora_program(arcdialogshow GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/arcdialogshow/ArcDialogShow.cpp
    LIBS archiveops foundation_icons)
  target_include_directories(arcdialogshow PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  add_dependencies(arcdialogshow zlzip32 zlunz32)
  target_compile_definitions(arcdialogshow PRIVATE VELMORA_ZIPLIB_DIR="$<TARGET_FILE_DIR:zlzip32>")
endif()
