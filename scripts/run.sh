#!/usr/bin/env bash
# Builds the program (release) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DPCA_TESTS=OFF >/dev/null
cmake --build build/release --target pca -j"$(nproc)"
exec build/release/pca "$@"
