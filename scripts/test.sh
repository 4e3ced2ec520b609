#!/usr/bin/env bash
# Builds everything and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
export QT_QPA_PLATFORM=offscreen
jobs="$(nproc)"

cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/test -j"$jobs"
ctest --test-dir build/test --output-on-failure -j"$jobs"

# The same tests built with AddressSanitizer and UndefinedBehaviorSanitizer, the event storm among
# them: any report ends the test that meets it and fails the run. Leaks are checked on the real
# program from start to close by scripts/leakcheck.sh.
(
  export ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1
  cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPCA_SANITIZERS=ON -DPCA_BENCHMARKS=OFF >/dev/null
  cmake --build build/asan -j"$jobs"
  ctest --test-dir build/asan --output-on-failure -j"$jobs"
)
scripts/leakcheck.sh

# The same suites with the software extended type that processors without the x87 unit use:
# 229 rotations, every figure of the data set, every pixel, as with the native type.
cmake -S . -B build/software -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPCA_EXTENDED=software -DPCA_BENCHMARKS=OFF >/dev/null
cmake --build build/software -j"$jobs"
ctest --test-dir build/software --output-on-failure -j"$jobs"

# The real program on a virtual display, driven with the mouse.
scripts/e2e.sh build/test/pca build/e2e

# The same program read through AT-SPI, as a screen reader reads it, and driven by keys.
scripts/atspi-check.sh build/test/pca build/atspi

# What Orca itself speaks while the same keys are typed: every edit, the view and the shares.
scripts/orca-check.sh build/test/pca build/orca

# The browser version in headless chromium: the first picture, an edit, the all-zero table's box
# and a storm of 2,000 pointer events.
scripts/web-test.sh

# What Orca speaks on that page in chromium while the same keys are typed as on the desktop.
scripts/orca-web-check.sh build/orca-web

# The real program natively on a Wayland compositor.
scripts/wayland-check.sh build/test/pca build/wayland

# The Debian package: lintian, AppStream and desktop entry checks, then installed, started and
# removed.
scripts/package.sh --check
