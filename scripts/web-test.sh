#!/usr/bin/env bash
# The browser version's tests: builds build/web/pca.html and drives it, opened from the disk, in
# Debian's chromium, firefox-esr and WebKitGTK (tests/web/, with Debian's own Node.js 18 where it
# can be had); then checks that the analysis compiled to WebAssembly gives the x87 build's bits.
# Installs what it needs when missing.
# Usage: scripts/web-test.sh          the tests
#        scripts/web-test.sh figures  the page's size, the time to its first picture, one paint
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh web-test
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
# Node and npm: any that are there (a machine may carry its own Node.js), else Debian's.
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends nodejs npm
fi
# The tests run on Debian 12's Node.js 18, which a fresh Debian machine has, even where the
# machine's own is newer: the packages in tests/web/package-lock.json must all run on it.
node="$(scripts/debian-node.sh)"
echo "browser tests on node $("$node" --version) ($node)"
scripts/web.sh
# The drivers drive the system's browsers; none downloads a browser of its own.
if [ ! -d tests/web/node_modules/puppeteer-core ] || [ ! -d tests/web/node_modules/playwright-core ] ||
   [ ! -d tests/web/node_modules/axe-core ]; then
  (cd tests/web && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund)
fi
# WebKitGTK's browser needs a display.
source scripts/xvfb-lib.sh
start_display
if [ "${1:-}" = figures ]; then
  "$node" tests/web/figures.js build/web
  exit 0
fi
# The desktop's pictures, which the browser's are compared with, where the test command has built
# the desktop (build/test).
if [ -z "${PCA_PICTURE_DUMP:-}" ] && [ -x build/test/tests/picture_dump ]; then
  export PCA_PICTURE_DUMP=build/test/tests/picture_dump
fi
status=0
"$node" tests/web/run-tests.js build/web || status=1

# The same bits in WebAssembly: every number of the analysis, as the x87 build gives them.
# (Debian's emscripten loads files through fetch where node has it; node's own reader works.)
NODE_PATH=/usr/share/nodejs cmake --build build/web --target analysis_dump >/dev/null
"$node" --no-experimental-fetch build/web/analysis_dump.js >build/web/dump-wasm.txt
if [ -x build/test/tests/analysis_dump ]; then
  build/test/tests/analysis_dump >build/web/dump-x87.txt
  if cmp -s build/web/dump-x87.txt build/web/dump-wasm.txt; then
    echo "wasm dump: identical to the x87 one ($(wc -l <build/web/dump-x87.txt) lines)"
  else
    diff -u build/web/dump-x87.txt build/web/dump-wasm.txt | head -n 40 || true
    echo "wasm dump: FAILED, it differs from the x87 one"
    status=1
  fi
else
  echo "skipped: the wasm dump comparison (no build/test/tests/analysis_dump; the test command builds it)"
fi
exit $status
