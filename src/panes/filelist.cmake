# The file list pane TDateiListeForm, its rules and its file-data loading.
add_library(filelist STATIC DateiListeModell.cpp DateiListeDaten.cpp)
target_include_directories(filelist PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(filelist PUBLIC panebase filetools foundation_shell gui shell32 ole32)
add_library(filelist_pane STATIC DateiListe.cpp DateiListeEingabe.cpp)
target_link_libraries(filelist_pane PUBLIC filelist controls)
