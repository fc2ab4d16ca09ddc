#!/usr/bin/env bash
# Builds the decoder benchmark natively with release flags and no sanitizers
# (the native test build has them), then runs it.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-/tmp/velmora-decode-bench}
formats=$(ls src/archive/formats/*.cpp | grep -v 'Win32\.cpp$')
g++ -O2 -DNDEBUG -std=c++20 -Isrc -Itests/tools/decodebench $formats \
    src/platform/rtl/Exceptions.cpp src/platform/rtl/Strings.cpp src/platform/rtl/StringList.cpp \
    src/platform/rtl/DateTime.cpp src/platform/rtl/PathNames.cpp \
    tests/tools/decodebench/*.cpp -lz -o "$out"
"$out"
