# The decoders' and ZIP extraction's fuzz target. Natively it runs once over the
# fixtures through a small driver (a smoke test under the sanitizers); the
# libFuzzer build is tools/fuzz-decode.sh.
if(VELMORA_NATIVE)
  velmora_test(decode_fuzz_smoke LABEL unit NO_GTEST_MAIN
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/DecodeFuzz.cpp ${CMAKE_CURRENT_LIST_DIR}/DecodeFuzzDriver.cpp
    LIBS arcformats)
endif()
