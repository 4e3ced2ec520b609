#!/usr/bin/env bash
# The browser version's tests: builds build/web/ and drives the page in Debian's headless
# chromium with playwright-core (tests/web/). Installs what it needs when missing.
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
scripts/web.sh
# playwright-core drives the system's chromium; it downloads no browser.
if [ ! -d tests/web/node_modules/playwright-core ]; then
  (cd tests/web && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund)
fi
if [ "${1:-}" = figures ]; then
  exec node tests/web/figures.js build/web
fi
# The desktop's pictures, which the browser's are compared with, where the test command has built
# the desktop (build/test).
if [ -z "${PCA_PICTURE_DUMP:-}" ] && [ -x build/test/tests/picture_dump ]; then
  export PCA_PICTURE_DUMP=build/test/tests/picture_dump
fi
exec node tests/web/run-tests.js build/web
