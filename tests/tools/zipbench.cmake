# The zip library benchmark: a program, not a test. It adds and extracts two
# generated trees through TZipLib and through a bare zlib loop, best of five,
# alternating; run it under Wine beside the DLLs, on tmpfs (Z:\dev\shm).
# Figures count only from an optimised build (-O2, the default RelWithDebInfo).
if(NOT VELMORA_NATIVE)
  find_library(VELMORA_BENCH_ZLIB_STATIC NAMES libz.a REQUIRED)
  velmora_program(zip_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/zipbench/ZipBench.cpp
    LIBS archiveops ${VELMORA_BENCH_ZLIB_STATIC})
  target_compile_options(zip_bench PRIVATE -O2)
  set_target_properties(zip_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/src/mainwindow)
  add_dependencies(zip_bench zlzip32 zlunz32)
endif()
