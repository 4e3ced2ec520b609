#!/usr/bin/env bash
# Builds pca and its suites for another processor and tests them here under qemu-user:
# 1. cross-builds everything into build/<arch> with the toolchain file in cmake/;
# 2. runs the suites with ctest through qemu (the window suites on the offscreen platform, the
#    event storm shortened to PCA_STORM_EVENTS, 3000 by default: emulated, 100,000 take minutes);
# 3. runs analysis_dump natively (build/test) and under qemu and compares the two dumps byte for
#    byte: the same bits on both processors, or a failure that shows the difference;
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

# The native dump comes from the test command's build.
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/test -j"$jobs" --target analysis_dump
native_dump="$build/dump-$(dpkg --print-architecture).txt"
target_dump="$build/dump-$arch.txt"
build/test/tests/analysis_dump >"$native_dump"
"${qemu[@]}" "$build/tests/analysis_dump" >"$target_dump"
if cmp -s "$native_dump" "$target_dump"; then
  echo "dumps: identical, $(wc -l <"$native_dump") lines for $(grep -c '^==' "$native_dump") tables"
else
  diff -u "$native_dump" "$target_dump" | head -n 80 || true
  echo "dumps: FAILED, $arch gives other bits than $(dpkg --print-architecture)" \
       "($(diff "$native_dump" "$target_dump" | grep -c '^<' || true) of $(wc -l <"$native_dump") lines differ)"
  failed+=(dumps)
fi
if [ ${#failed[@]} -gt 0 ]; then
  echo "cross-test $arch: FAILED (${failed[*]})"
  exit 1
fi

scripts/package.sh --arch "$arch" --check
echo "cross-test $arch: passed"
