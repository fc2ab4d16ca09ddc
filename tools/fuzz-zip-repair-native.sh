#!/usr/bin/env bash
# Builds the zip library's repair ("-F" and "-FF") natively with clang,
# libFuzzer and the address and undefined-behaviour sanitizers, its Windows
# calls answered by the POSIX shim in tests/fuzz/win32shim, and runs it from
# the ZIP fixtures and tests/fuzz/zlrepair-regressions.
#   tools/fuzz-zip-repair-native.sh [SECONDS]   (default 600)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
out=${FUZZ_DIR:-/tmp/velmora-fuzz-zip-repair-native}
mkdir -p "$out/corpus"
clang++ -g -O1 -std=c++20 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -Itests/fuzz/win32shim -Isrc \
    tests/fuzz/win32shim/Win32Shim.cpp src/platform/ziplib/ZlCore.cpp src/platform/ziplib/ZlRepair.cpp \
    tests/fuzz/ZlRepairFuzz.cpp -lz -o "$out/zlrepair_fuzz"
# The ZIP fixtures, and the inputs of faults the target found, so that each
# run starts by replaying them.
cp tests/data/archive/*.zip tests/fuzz/zlrepair-regressions/*.zip "$out/corpus/"
# Inputs up to 256 KB; the repair's scan is linear, so a time limit per input
# far above its cost still catches one that turned quadratic.
"$out/zlrepair_fuzz" -artifact_prefix="$out/" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
    -max_len=262144 "$out/corpus"
