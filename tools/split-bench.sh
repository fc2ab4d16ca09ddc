#!/usr/bin/env bash
# Runs the split benchmark (split_bench.exe) under Wine and Xvfb on tmpfs, then
# times the host's `split -b` on a file of the same size, for information only.
#   tools/split-bench.sh [BUILD-FOLDER]   (default build64, else build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-$( [ -d build64 ] && echo build64 || echo build )}")
: "${VELMORA_WINEPREFIX:=$build/wineprefix}"
export VELMORA_WINEPREFIX
source tools/wine-env.sh
status=0
xvfb-run -a bash -c "source tools/wine-env.sh; velmora_wine '$build/tests/tools/split_bench.exe'" || status=$?
work=/dev/shm/velmora-splitbench-host
rm -rf "$work"; mkdir -p "$work"
head -c 1073741824 /dev/urandom > "$work/quelle.bin"
for size in 100000000 1100000; do
  start=$(date +%s.%N)
  split -a 4 -d -b "$size" "$work/quelle.bin" "$work/teil."
  end=$(date +%s.%N)
  awk -v s="$size" -v a="$start" -v b="$end" 'BEGIN { printf "  host split -b %s: %.3f s (information)\n", s, b - a }'
  rm -f "$work"/teil.*
done
rm -rf "$work"
exit $status
