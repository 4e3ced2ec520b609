#!/usr/bin/env bash
# Measures the peak resident memory of the program (Release build) from start to close: started
# under Xvfb with /usr/bin/time -v, its window closed after 2 seconds.
# Usage: scripts/peakmem.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
source scripts/xvfb-lib.sh

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DPCA_TESTS=OFF >/dev/null
cmake --build build/release --target pca -j"$(nproc)"
mkdir -p build/tools
g++ -O1 -o build/tools/x11-close scripts/x11-close.cpp -lX11
start_display

report=build/release/peakmem.txt
QT_QPA_PLATFORM=xcb timeout 60 /usr/bin/time -v -o "$report" build/release/pca >/dev/null 2>&1 &
pid=$!
window=$(find_window 30)
[ -n "$window" ] || { echo "the window did not appear"; exit 1; }
sleep 2
size=$(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
build/tools/x11-close "$window"
wait "$pid"
kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$report")
echo "peak resident memory: $kb kB ($((kb / 1024)) MiB), start to close, window ${size}"
