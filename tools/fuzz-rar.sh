#!/usr/bin/env bash
# Builds the RAR calls' fuzz target (open, every header, test every entry)
# with clang, libFuzzer and the address and undefined-behaviour sanitizers,
# and runs it from the RAR fixtures.
#   tools/fuzz-rar.sh [SECONDS]   (default 600)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
out=${FUZZ_DIR:-/tmp/velmora-fuzz-rar}
mkdir -p "$out/corpus"
clang++ -g -O1 -std=c++20 -fsanitize=fuzzer,address,undefined -Isrc \
    src/platform/rarlib/RarLib.cpp src/platform/rarlib/RarReader.cpp tests/fuzz/RarLibFuzz.cpp \
    -o "$out/rarlib_fuzz"
for f in tests/data/archive/*.rar tests/data/archive/*sfx.exe; do
  [ -f "$f" ] && [ "$(stat -c %s "$f")" -le 65536 ] && cp "$f" "$out/corpus/"
done
# Inputs up to 256 KB; a time limit per input that a header walk of linear
# cost keeps far below even on a busy machine (a quadratic one took minutes).
"$out/rarlib_fuzz" -artifact_prefix="$out/" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
    -max_len=262144 "$out/corpus"
