#!/usr/bin/env bash
# Builds the browser version: build/web/pca.html, one file with the program inside, which opens
# from a disk or from any web server. Or serves it.
# Usage: scripts/web.sh          build
#        scripts/web.sh serve    build, then serve it at http://127.0.0.1:8080/pca.html
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in bench) exec scripts/web-bench.sh ;; esac
scripts/deps.sh web
# Debian's emscripten finds its JavaScript modules (acorn, ...) here, whichever node runs it.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B build/web -DCMAKE_BUILD_TYPE=Release -DPCA_TESTS=OFF >/dev/null
cmake --build build/web -j2
echo "built build/web/pca.html"
if [ "${1:-}" = serve ]; then
  echo "serving http://127.0.0.1:8080/pca.html (Ctrl+C stops)"
  exec python3 -m http.server 8080 --bind 127.0.0.1 --directory build/web
fi
