#!/usr/bin/env bash
# Builds the readers' fuzz target with clang and libFuzzer and runs it.
#   tools/fuzz-readers.sh [SECONDS]   (default 600)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
out=${FUZZ_DIR:-/tmp/velmora-fuzz-readers}
mkdir -p "$out/corpus"
formats=$(ls src/archive/formats/*.cpp | grep -v 'Win32\.cpp$')
clang++ -g -O1 -std=c++20 -fsanitize=fuzzer,address,undefined -Isrc $formats \
    src/platform/rtl/Exceptions.cpp src/platform/rtl/Strings.cpp src/platform/rtl/StringList.cpp \
    src/platform/rtl/DateTime.cpp src/platform/rtl/PathNames.cpp \
    tests/archive/formats/ReadersFuzz.cpp -o "$out/readers_fuzz"
# Seeds: the small reader fixtures, each behind the selector of its component.
seed() { { printf "\\x$(printf %02x "$1")"; cat "$2"; } > "$out/corpus/$1-$(basename "$2")"; }
for f in tests/data/readers/archives/*; do
  [ "$(stat -c %s "$f")" -le 65536 ] || continue
  case "$f" in
    *.arj|*.A0?) seed 0 "$f" ;;
    *.lzh) seed 1 "$f" ;;
    *.arc) seed 2 "$f" ;;
    *.zoo) seed 3 "$f" ;;
    *.exe) seed 4 "$f" ;;
  esac
done
"$out/readers_fuzz" -artifact_prefix="$out/" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 "$out/corpus"
