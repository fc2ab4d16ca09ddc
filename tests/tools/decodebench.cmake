# The decoder benchmark: a program, not a test. Figures count only from a
# Release build (cmake -DCMAKE_BUILD_TYPE=Release) and from a native build
# without sanitizers (see the comment at the top of DecodeBench.cpp).
if(VELMORA_NATIVE)
  find_library(VELMORA_BENCH_ZLIB NAMES z REQUIRED)
else()
  find_library(VELMORA_BENCH_ZLIB NAMES libz.a REQUIRED)
endif()
add_executable(decode_bench ${CMAKE_CURRENT_LIST_DIR}/decodebench/DecodeBench.cpp
                            ${CMAKE_CURRENT_LIST_DIR}/decodebench/BenchEncoders.cpp)
target_link_libraries(decode_bench PRIVATE arcformats ${VELMORA_BENCH_ZLIB})
