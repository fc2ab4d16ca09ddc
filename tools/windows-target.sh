# Sourced by test.sh and run.sh after tools/setup.sh: which Windows build this
# machine can run. Velmora is a 32-bit Windows program, built for i686 and run by
# Wine's 32-bit part, which is itself a 32-bit Linux program. A kernel that does
# not run 32-bit programs (32-bit emulation switched off at boot) cannot start it;
# there the same sources are built for x86_64 in their own build folder and run by
# 64-bit Wine, so that the program and every test still run.
if /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  velmora_toolchain=cmake/toolchain-mingw32.cmake
  velmora_default_build=build
else
  velmora_toolchain=cmake/toolchain-mingw64.cmake
  velmora_default_build=build64
  export VELMORA_WINEARCH=win64
  echo "NOTE: this kernel does not run 32-bit programs (32-bit emulation is off; the boot option" >&2
  echo "NOTE: ia32_emulation=on switches it on). Building the 64-bit stand-in instead, run by 64-bit Wine." >&2
fi
