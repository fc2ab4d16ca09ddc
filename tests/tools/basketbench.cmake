# Files dropped on the basket against FindFirstFileW over the same names: a
# program, not a test (see basketbench/BasketBench.cpp). Make its files once with
#   tests/tools/basketbench/make-files.sh DIR
# then run it under Wine with a display:
#   xvfb-run -a -s "-screen 0 1280x1024x24" tools/wine-run.sh build/src/mainwindow/basket_bench.exe Z:DIR
if(NOT VELMORA_NATIVE)
  velmora_program(basket_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/basketbench/BasketBench.cpp $<TARGET_OBJECTS:velmora_res>
    LIBS mainform_window)
  target_include_directories(basket_bench PRIVATE ${CMAKE_CURRENT_LIST_DIR})
  target_compile_options(basket_bench PRIVATE -O2)
  set_target_properties(basket_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/src/mainwindow)
endif()
