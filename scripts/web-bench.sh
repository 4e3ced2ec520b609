#!/usr/bin/env bash
# The analysis in WebAssembly, run by node, beside the peer library ml-pca timed in the same
# process on the same table (bench/web/). Builds the module into build/web-bench/ (Release).
# Installs what it needs when missing.
# Usage: scripts/web-bench.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh web
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends nodejs npm
fi
# Debian's emscripten finds its JavaScript modules (acorn, ...) here, whichever node runs it.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B build/web-bench -DCMAKE_BUILD_TYPE=Release -DPCA_TESTS=OFF >/dev/null
cmake --build build/web-bench -j2 --target pca_web_bench >/dev/null
if [ ! -d bench/web/node_modules/ml-pca ]; then
  (cd bench/web && npm ci --no-audit --no-fund)
fi
# Debian's emscripten output must not meet the fetch of Node.js 18 and later.
exec node --no-experimental-fetch bench/web/compare.js build/web-bench/bench/web/pca_web_bench.js
