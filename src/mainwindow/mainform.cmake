# The main window THauptform and its stored window values.
add_library(mainform STATIC FensterWerte.cpp FensterEinstellungen.cpp HistoryRules.cpp PaneRules.cpp)
target_include_directories(mainform PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(mainform PUBLIC panebase foundation_shell)

add_library(mainform_window STATIC MainForm.cpp MainFormArchive.cpp MainFormCommands.cpp MainFormHandlers.cpp
  MainFormHistory.cpp MainFormMenus.cpp MainFormPanes.cpp MainFormSearch.cpp MainFormStatus.cpp MainFormTools.cpp StatusThreads.cpp
  MainFormDragDrop.cpp)
target_link_libraries(mainform_window PUBLIC mainform filelist_pane vbaum_pane zipview_pane suchergebnis_pane filetools controls gui archiveops)
