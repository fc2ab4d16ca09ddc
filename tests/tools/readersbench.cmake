# The readers' decoder benchmark: a program, not a test (see ReadersBench.cpp).
add_executable(readers_bench ${CMAKE_CURRENT_LIST_DIR}/readersbench/ReadersBench.cpp)
target_link_libraries(readers_bench PRIVATE arcformats)
