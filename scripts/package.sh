#!/usr/bin/env bash
# Builds the Debian package build/package/pca_<version>_<arch>.deb from a Release build.
# With --check it then checks the package with lintian (any error or warning fails), the AppStream
# entry with appstreamcli and the desktop entry with desktop-file-validate, installs the package,
# starts the installed program under Xvfb, waits for its window, closes it and removes the
# package again (as root, or with sudo).
# Usage: scripts/package.sh [--check]
set -euo pipefail
cd "$(dirname "$0")/.."
check=false
[ "${1:-}" = --check ] && check=true
if $check; then scripts/deps.sh test; else scripts/deps.sh run; fi

rm -f build/package/pca_*.deb
# Hardened as Debian builds its packages: fortified libc calls, read-only relocations, bound now.
cmake -S . -B build/package -DCMAKE_BUILD_TYPE=Release -DPCA_TESTS=OFF \
  -DCMAKE_CXX_FLAGS="-D_FORTIFY_SOURCE=2" -DCMAKE_EXE_LINKER_FLAGS="-Wl,-z,relro,-z,now" >/dev/null
cmake --build build/package --target pca -j"$(nproc)"
(cd build/package && cpack >/dev/null)
deb=$(ls "$PWD"/build/package/pca_*.deb)
echo "built $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends Recommends
dpkg-deb --contents "$deb" | awk '{print $NF}' | grep -v '/$'

$check || exit 0

# Any error (E:) or warning (W:) fails, and so does lintian itself failing to run; information
# (I:) lines are shown only.
if ! lintian --fail-on error,warning --display-info "$deb"; then
  echo "package check: FAILED, lintian reports errors or warnings"
  exit 1
fi
echo "lintian: no errors, no warnings"
appstreamcli validate --no-net packaging/org.example.pca.metainfo.xml
desktop-file-validate packaging/org.example.pca.desktop
echo "desktop-file-validate: passed"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if dpkg-query -W -f='${Status}' pca 2>/dev/null | grep -q 'install ok installed'; then
  echo "a package named pca is installed already; not touching it" >&2
  exit 1
fi
source scripts/xvfb-lib.sh
mkdir -p build/tools
g++ -O1 -o build/tools/x11-close scripts/x11-close.cpp -lX11
start_display
trap 'stop_all; $sudo apt-get remove -y -q pca >/dev/null 2>&1 || true' EXIT

DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "$deb" >/dev/null
echo "installed: $(command -v pca)"
QT_QPA_PLATFORM=xcb timeout 60 pca >build/package/check.log 2>&1 &
pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name "Analiza" | head -n 1)
[ -n "$window" ] || { echo "package check: FAILED, the window did not appear"; exit 1; }
echo "window $window: \"$(xdotool getwindowname "$window")\", $(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')"
build/tools/x11-close "$window"
rc=0
wait "$pid" || rc=$?
$sudo apt-get remove -y -q pca >/dev/null
echo "removed: $(command -v pca || echo 'no pca on PATH')"
if [ "$rc" -ne 0 ]; then
  cat build/package/check.log
  echo "package check: FAILED, the installed program ended with status $rc"
  exit 1
fi
echo "package check: installed, started, showed its window, closed, removed"
