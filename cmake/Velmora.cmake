# Build helpers shared by every folder of the tree.

if(VELMORA_NATIVE)
  set(VELMORA_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_compile_options(-Wall -Wextra ${VELMORA_SANITIZE})
  add_link_options(${VELMORA_SANITIZE})
else()
  add_compile_definitions(UNICODE _UNICODE NOMINMAX WINVER=0x0600 _WIN32_WINNT=0x0600 _WIN32_IE=0x0600)
  add_compile_options(-Wall -Wextra -Wno-cast-function-type)
  # Wine cannot find the mingw runtime DLLs: everything is linked in.
  add_link_options(-static -static-libgcc -static-libstdc++)
  set(VELMORA_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  set(VELMORA_XDG_DATA_HOME ${CMAKE_BINARY_DIR}/xdg-data)
  file(MAKE_DIRECTORY ${VELMORA_XDG_DATA_HOME})
  # The 64-bit stand-in build runs in a 64-bit prefix (tools/windows-target.sh).
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(VELMORA_WINEARCH win64)
  else()
    set(VELMORA_WINEARCH win32)
  endif()
  set(CMAKE_CROSSCOMPILING_EMULATOR env VELMORA_WINEPREFIX=${VELMORA_WINEPREFIX} VELMORA_WINEARCH=${VELMORA_WINEARCH}
      ${CMAKE_SOURCE_DIR}/tools/wine-run.sh)
endif()

set(VELMORA_WIN32_LIBS ole32 oleaut32 uuid shell32 shlwapi comctl32 comdlg32 gdi32 user32 advapi32 kernel32 version)

# GoogleTest from Debian's sources, built with whatever compiler this build uses.
macro(velmora_setup_gtest)
  set(VELMORA_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(${VELMORA_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endmacro()

# The line tests/GTestSkipReport.cpp prints when tests skipped and none failed.
set(VELMORA_SKIP_LINE "Velmora: [0-9]+ skipped, none failed")

# velmora_test(NAME LABEL unit|gui|native SOURCES ... [LIBS ...] [LOCKS ...] [TIMEOUT s] [NO_GTEST_MAIN])
# One CTest entry per test program. In the native build every test gets the label
# "native" whatever it asked for, and is recorded for the Windows build's CTest run.
function(velmora_test name)
  cmake_parse_arguments(T "NO_GTEST_MAIN" "LABEL;TIMEOUT" "SOURCES;LIBS;LOCKS;ARGS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${name} ${T_SOURCES} ${CMAKE_SOURCE_DIR}/tests/GTestSkipReport.cpp)
  if(T_NO_GTEST_MAIN)
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  endif()
  target_compile_definitions(${name} PRIVATE VELMORA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  if(VELMORA_NATIVE)
    set_property(GLOBAL APPEND PROPERTY VELMORA_NATIVE_TESTS ${name})
    set_property(GLOBAL PROPERTY VELMORA_NATIVE_TEST_ARGS_${name} "${T_ARGS}")
    set_property(GLOBAL PROPERTY VELMORA_NATIVE_TEST_TIMEOUT_${name} "${T_TIMEOUT}")
  else()
    target_link_libraries(${name} PRIVATE ${VELMORA_WIN32_LIBS})
    add_test(NAME ${name} COMMAND ${name} ${T_ARGS})
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABEL}" TIMEOUT ${T_TIMEOUT}
      SKIP_REGULAR_EXPRESSION "${VELMORA_SKIP_LINE}")
    # Wine's recycle bin is $XDG_DATA_HOME/Trash: keep it in the build folder.
    set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT XDG_DATA_HOME=${VELMORA_XDG_DATA_HOME})
    # Window tests share one X display: run together, their windows steal the
    # foreground and the focus from each other. Those that need nothing but the
    # display and the registry can instead run in a display slot of their own
    # (an X display and a Wine prefix each, tools/display-slots.sh): whether
    # slots are there is known only when CTest runs, see velmora_finish.
    if(T_LABEL STREQUAL "gui")
      list(APPEND T_LOCKS display)
      set(others ${T_LOCKS})
      list(REMOVE_ITEM others display registry)
      if(NOT others)
        string(REPLACE ";" "," locks "${T_LOCKS}")
        set_property(GLOBAL APPEND PROPERTY VELMORA_SLOT_TESTS "${name}=${locks}")
        set(T_LOCKS "")
      endif()
    endif()
    if(T_LOCKS)
      set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${T_LOCKS}")
    endif()
  endif()
endfunction()

# velmora_program(NAME [GUI] SOURCES ... [LIBS ...]): a Windows program.
function(velmora_program name)
  cmake_parse_arguments(P "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${P_SOURCES})
  target_link_libraries(${name} PRIVATE ${P_LIBS} ${VELMORA_WIN32_LIBS})
  target_link_options(${name} PRIVATE -municode)
  if(P_GUI)
    target_link_options(${name} PRIVATE -mwindows)
  endif()
endfunction()

function(velmora_finish)
  if(VELMORA_NATIVE)
    # The test list that the Windows build's CTest run includes.
    get_property(tests GLOBAL PROPERTY VELMORA_NATIVE_TESTS)
    set(content "")
    foreach(t IN LISTS tests)
      get_property(args GLOBAL PROPERTY VELMORA_NATIVE_TEST_ARGS_${t})
      get_property(timeout GLOBAL PROPERTY VELMORA_NATIVE_TEST_TIMEOUT_${t})
      string(REPLACE ";" "\" \"" args_q "${args}")
      if(args)
        set(args_q "\"${args_q}\"")
      endif()
      string(APPEND content "add_test(native.${t} \"$<TARGET_FILE:${t}>\" ${args_q})\n")
      string(APPEND content "set_tests_properties(native.${t} PROPERTIES LABELS native TIMEOUT ${timeout} SKIP_REGULAR_EXPRESSION \"${VELMORA_SKIP_LINE}\" ENVIRONMENT \"ASAN_OPTIONS=detect_leaks=0:abort_on_error=0;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1\")\n")
    endforeach()
    file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/native-tests.cmake CONTENT "${content}")
  elseif(VELMORA_WITH_NATIVE)
    include(ExternalProject)
    set(native_dir ${CMAKE_BINARY_DIR}/native)
    ExternalProject_Add(velmora_native
      SOURCE_DIR ${CMAKE_SOURCE_DIR}
      BINARY_DIR ${native_dir}
      CMAKE_ARGS -DVELMORA_NATIVE=ON -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
                 -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++
      BUILD_ALWAYS ON
      INSTALL_COMMAND ""
      USES_TERMINAL_BUILD ON)
    # Re-run the native configuration at every build: folders and test lists that
    # appeared since the first configuration must not be missed.
    ExternalProject_Add_Step(velmora_native reconfigure
      COMMAND ${CMAKE_COMMAND} ${native_dir}
      DEPENDEES configure DEPENDERS build ALWAYS TRUE)
    file(WRITE ${CMAKE_BINARY_DIR}/native-include.cmake
      "if(EXISTS \"${native_dir}/native-tests.cmake\")\n  include(\"${native_dir}/native-tests.cmake\")\nendif()\n")
    set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/native-include.cmake)
  endif()
  if(NOT VELMORA_NATIVE)
    # Read by CTest after every test is known (the folder comes last): with the
    # display slots of tools/display-slots.sh announced in VELMORA_DISPLAY_SLOTS,
    # such a window test takes one slot; without, it takes the shared display's
    # locks as every other window test.
    get_property(slotted GLOBAL PROPERTY VELMORA_SLOT_TESTS)
    set(content "if(DEFINED ENV{VELMORA_DISPLAY_SLOTS})\n")
    foreach(entry IN LISTS slotted)
      string(REGEX REPLACE "=.*" "" t "${entry}")
      string(APPEND content "  set_tests_properties(${t} PROPERTIES RESOURCE_GROUPS slots:1)\n")
    endforeach()
    string(APPEND content "else()\n")
    foreach(entry IN LISTS slotted)
      string(REGEX REPLACE "=.*" "" t "${entry}")
      string(REGEX REPLACE ".*=" "" locks "${entry}")
      string(REPLACE "," ";" locks "${locks}")
      string(APPEND content "  set_tests_properties(${t} PROPERTIES RESOURCE_LOCK \"${locks}\")\n")
    endforeach()
    string(APPEND content "endif()\n")
    set(VELMORA_SLOT_INCLUDE ${CMAKE_BINARY_DIR}/display-slots.cmake)
    file(WRITE ${VELMORA_SLOT_INCLUDE} "${content}")
    add_subdirectory(${CMAKE_SOURCE_DIR}/cmake/display-slots ${CMAKE_BINARY_DIR}/display-slots)
  endif()
endfunction()
