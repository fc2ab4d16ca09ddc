#!/usr/bin/env bash
# Runs the zip library's repair ("-F" and "-FF") over mutated archives under
# Wine: the library is Win32 code and runs nowhere else, so a mutating driver
# of our own stands in for libFuzzer. Seeds: the ZIP fixtures.
#   tools/fuzz-zip-repair.sh BUILD-FOLDER [SECONDS]   (default 600)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "$1" && pwd)
seconds=${2:-600}
: "${VELMORA_WINEPREFIX:=$build/wineprefix}"
export VELMORA_WINEPREFIX
source tools/wine-env.sh
out=${FUZZ_DIR:-/tmp/velmora-fuzz-zip-repair}
mkdir -p "$out"
win() { local p=$1; printf 'Z:%s' "${p//\//\\}"; }
seeds=()
for f in tests/data/archive/*.zip; do seeds+=("$(win "$PWD/$f")"); done
velmora_wine "$build/tests/platform/ziplib/zlrepairfuzz.exe" "$(win "$build/src/mainwindow")" "$(win "$out")" \
  "$seconds" "${seeds[@]}"
