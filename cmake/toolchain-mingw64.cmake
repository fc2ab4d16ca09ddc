# The 64-bit stand-in of the Windows build, for machines whose kernel does not run
# 32-bit programs and therefore cannot start Wine's 32-bit part
# (tools/windows-target.sh). Same sources, same tests, run by 64-bit Wine.
set(VELMORA_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw32.cmake)
