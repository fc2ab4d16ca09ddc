#!/usr/bin/env bash
# Builds the decoders' fuzz target with clang and libFuzzer and runs it.
#   tools/fuzz-decode.sh [SECONDS]   (default 600)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
out=${FUZZ_DIR:-/tmp/velmora-fuzz-decode}
mkdir -p "$out/corpus"
formats=$(ls src/archive/formats/*.cpp | grep -v 'Win32\.cpp$')
clang++ -g -O1 -std=c++20 -fsanitize=fuzzer,address,undefined -Isrc $formats \
    src/platform/rtl/Exceptions.cpp src/platform/rtl/Strings.cpp src/platform/rtl/StringList.cpp \
    src/platform/rtl/DateTime.cpp src/platform/rtl/PathNames.cpp \
    tests/archive/formats/DecodeFuzz.cpp -o "$out/decode_fuzz"
# Seeds: every fixture as an archive (selector 0xF0) and as a raw stream.
for f in tests/data/zip-extract/*.zip tests/data/zip-extract/*.lh5 tests/data/zip-extract/*.arj1; do
  b=$(basename "$f")
  { printf '\xf0\x00\x00\x01'; cat "$f"; } > "$out/corpus/zip-$b"
  { printf '\x00\x00\x00\x01'; cat "$f"; } > "$out/corpus/raw-$b"
done
"$out/decode_fuzz" -artifact_prefix="$out/" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 "$out/corpus"
