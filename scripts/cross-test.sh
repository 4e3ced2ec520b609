#!/usr/bin/env bash
# Builds pca and its suites for another processor and tests them here under qemu-user:
# 1. cross-builds everything into build/<arch> with the toolchain file in cmake/;
# 2. runs the suites with ctest through qemu (the window suites on the offscreen platform, the
#    event storm shortened to PCA_STORM_EVENTS, 3000 by default: emulated, 100,000 take minutes);
# 3. runs analysis_dump natively (build/test, and build/software with the software extended
#    type) and under qemu and compares the dumps byte for byte: the same bits on both processors
#    and with both types, or a failure that shows the difference;
# 4. builds that architecture's Debian package and checks it with lintian.
# Installs what it needs when missing, the target's libraries through multiarch.
# Usage: scripts/cross-test.sh arm64
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in
  arm64) toolchain=cmake/aarch64-linux-gnu.cmake; qemu=(qemu-aarch64 -L /) ;;
  *) echo "usage: $0 arm64" >&2; exit 2 ;;
esac
arch=$1
build="build/$arch"
scripts/deps.sh test
scripts/cross-deps.sh "$arch"
jobs="$(nproc)"
started=$(date +%s)

cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPCA_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j"$jobs"
built=$(date +%s)
# A failing suite still lets the dumps show where the numbers part.
failed=()
QT_QPA_PLATFORM=offscreen PCA_STORM_EVENTS="${PCA_STORM_EVENTS:-3000}" \
  ctest --test-dir "$build" --output-on-failure -j"$jobs" || failed+=(suites)
echo "$arch: built in $((built - started)) s, suites ran in $(($(date +%s) - built)) s under qemu"

# The dumps: this machine's build (the x87 type, natively, on x86-64), the same with the software
# type forced, and the target's under qemu; all three must be the same text. The first comes from
# the test command's build.
host=$(dpkg --print-architecture)
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/test -j"$jobs" --target analysis_dump
cmake -S . -B build/software -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPCA_EXTENDED=software \
  -DPCA_BENCHMARKS=OFF >/dev/null
cmake --build build/software -j"$jobs" --target analysis_dump
reference="$build/dump-$host.txt"
build/test/tests/analysis_dump >"$reference"
build/software/tests/analysis_dump >"$build/dump-$host-software.txt"
"${qemu[@]}" "$build/tests/analysis_dump" >"$build/dump-$arch.txt"
for dump in "$build/dump-$host-software.txt" "$build/dump-$arch.txt"; do
  if cmp -s "$reference" "$dump"; then
    echo "dumps: $dump is identical to $reference" \
         "($(wc -l <"$reference") lines, $(grep -c '^==' "$reference") tables)"
  else
    diff -u "$reference" "$dump" | head -n 80 || true
    echo "dumps: FAILED, $dump differs from $reference" \
         "in $(diff "$reference" "$dump" | grep -c '^<' || true) of $(wc -l <"$reference") lines"
    failed+=("$dump")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "cross-test $arch: FAILED (${failed[*]})"
  exit 1
fi

scripts/package.sh --arch "$arch" --check
echo "cross-test $arch: passed"
