#!/usr/bin/env bash
# Builds the Debian package build/package/pca_<version>_<arch>.deb from a Release build, shows the
# Depends that dpkg-shlibdeps computed and fails if one of the libraries the binary links is not
# among them.
# With --check it then checks the package with lintian and the AppStream entry with appstreamcli
# (any error or warning of either fails), the desktop entry with desktop-file-validate, installs
# the package with apt-get (which has to satisfy those Depends), starts the installed program
# under Xvfb, waits for its window, closes it and removes the package again (as root, or with
# sudo).
# --arch arm64 cross-builds build/package/pca_<version>_arm64.deb instead (in
# build/package-arm64, installing the cross tools when missing); --check then checks it the same
# way but does not install it, since it cannot run here.
# Usage: scripts/package.sh [--check] [--arch arm64]
set -euo pipefail
cd "$(dirname "$0")/.."
check=false
host=$(dpkg --print-architecture)
arch=$host
while [ $# -gt 0 ]; do
  case "$1" in
    --check) check=true ;;
    --arch) arch="${2:-}"; shift ;;
    *) echo "usage: $0 [--check] [--arch arm64]" >&2; exit 2 ;;
  esac
  shift
done
if $check; then scripts/deps.sh test; else scripts/deps.sh run; fi

dir=build/package
cross=()
if [ "$arch" != "$host" ]; then
  case "$arch" in
    arm64) cross=(-DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake) ;;
    *) echo "no cross build for the architecture '$arch'; there is one for arm64" >&2; exit 2 ;;
  esac
  scripts/cross-deps.sh "$arch"
  dir=build/package-$arch
fi

rm -f build/package/pca_*_"$arch".deb
# Hardened as Debian builds its packages: fortified libc calls, read-only relocations, bound now.
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DPCA_TESTS=OFF "${cross[@]}" \
  -DCMAKE_CXX_FLAGS="-D_FORTIFY_SOURCE=2" -DCMAKE_EXE_LINKER_FLAGS="-Wl,-z,relro,-z,now" >/dev/null
cmake --build "$dir" --target pca -j"$(nproc)"
(cd "$dir" && cpack >/dev/null)
if [ "$dir" != build/package ]; then mkdir -p build/package && mv "$dir"/pca_*_"$arch".deb build/package/; fi
deb=$(ls "$PWD"/build/package/pca_*_"$arch".deb)
echo "built $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends Recommends
dpkg-deb --contents "$deb" | awk '{print $NF}' | grep -v '/$'

# The Depends are dpkg-shlibdeps' (packaging/Packaging.cmake): every library the binary links must
# be there with the least version its symbols need, or the package installs where the program
# cannot start.
depends=$(dpkg-deb --field "$deb" Depends)
multiarch=$(dpkg-architecture -a"$arch" -qDEB_HOST_MULTIARCH 2>/dev/null)
unpacked=$(mktemp -d)
dpkg-deb -x "$deb" "$unpacked"
needed=$(readelf -d "$unpacked/usr/bin/pca" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
rm -rf "$unpacked"
[ -n "$needed" ] || { echo "package: FAILED, the packaged binary links no libraries"; exit 1; }
missing=()
for so in $needed; do
  owner=$(dpkg-query -S "/usr/lib/$multiarch/$so" "/lib/$multiarch/$so" 2>/dev/null |
          grep -v '^diversion' | head -n 1 | cut -d: -f1 || true)
  entry=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//' | awk -v p="$owner" '$1 == p' | head -n 1)
  if [ -z "$owner" ] || [ -z "$entry" ]; then
    missing+=("$so${owner:+ ($owner)}")
  else
    echo "links $so: depends on $entry"
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "package: FAILED, Depends names no package for ${missing[*]}"
  exit 1
fi
echo "Depends, computed from the binary: $depends"

$check || exit 0

# Any error (E:) or warning (W:) fails, and so does lintian itself failing to run; information
# (I:) lines are shown only.
if ! lintian --fail-on error,warning --display-info "$deb"; then
  echo "package check: FAILED, lintian reports errors or warnings"
  exit 1
fi
echo "lintian: no errors, no warnings"
# AppStream: any error or warning fails, whatever the exit status of this version of appstreamcli
# says; information and pedantic lines are shown only.
appstream_rc=0
appstream=$(appstreamcli validate --no-net --pedantic packaging/org.example.pca.metainfo.xml 2>&1) ||
  appstream_rc=$?
echo "$appstream"
if [ "$appstream_rc" -ne 0 ] || grep -qE '^[EW]:' <<<"$appstream"; then
  echo "package check: FAILED, appstreamcli $(appstreamcli --version | awk '{print $NF}') reports errors or warnings"
  exit 1
fi
echo "appstreamcli $(appstreamcli --version | awk '{print $NF}'): no errors, no warnings"
desktop-file-validate packaging/org.example.pca.desktop
echo "desktop-file-validate: passed"
if [ "$arch" != "$host" ]; then
  echo "package check: $arch package checked, not installed (this machine is $host)"
  exit 0
fi
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
window=$(find_window 30)
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
