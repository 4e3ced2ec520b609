#!/usr/bin/env bash
# Runs the real program, built with AddressSanitizer, from start to close under Xvfb, and fails
# if LeakSanitizer finds memory that was never released. Leaks that lie wholly in system
# libraries are listed in scripts/lsan.supp; the report names the suppressions it used.
# Usage: scripts/leakcheck.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
source scripts/xvfb-lib.sh

cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPCA_SANITIZERS=ON -DPCA_BENCHMARKS=OFF >/dev/null
cmake --build build/asan --target pca -j"$(nproc)"
mkdir -p build/tools
g++ -O1 -o build/tools/x11-close scripts/x11-close.cpp -lX11
start_display

# Full stacks (slow unwinding) so that a leak can be told apart from one of a system library.
log=build/asan/leakcheck.log
ASAN_OPTIONS=detect_leaks=1:fast_unwind_on_malloc=0 \
  LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=1" \
  QT_QPA_PLATFORM=xcb timeout 120 build/asan/pca >"$log" 2>&1 &
pid=$!
window=$(find_window 60)
[ -n "$window" ] || { echo "leak check: FAILED, the window did not appear"; exit 1; }
sleep 2  # the first paints, with the components computed
build/tools/x11-close "$window"
rc=0
wait "$pid" || rc=$?

if grep -q "ERROR: LeakSanitizer" "$log"; then
  cat "$log"
  echo "leak check: FAILED, leaks found (above)"
  exit 1
fi
if grep -q "ERROR: AddressSanitizer\|runtime error:" "$log" || [ "$rc" -ne 0 ]; then
  cat "$log"
  echo "leak check: FAILED, the program ended with status $rc"
  exit 1
fi
sed -n '/Suppressions used/,/^---/p' "$log"
echo "leak check: no leaks from start to close"
