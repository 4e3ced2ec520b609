#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, but only those missing.
# Usage: scripts/deps.sh [run|test|web|web-test]
set -euo pipefail

# qt6-qpa-plugins brings the X11 and offscreen platforms, qt6-wayland the native Wayland one.
# The Debian package's Depends come from dpkg-shlibdeps (dpkg-dev), which CPack gives the files
# that file(1) calls binaries.
build=(g++ cmake make pkg-config qt6-base-dev qt6-qpa-plugins qt6-wayland libgl-dev fonts-liberation
       dpkg-dev file)
test_only=(libgtest-dev libbenchmark-dev libeigen3-dev xvfb xdotool x11-utils imagemagick libx11-dev time
           weston lintian appstream desktop-file-utils
           at-spi2-core python3-pyatspi gir1.2-atspi-2.0 dbus orca speech-dispatcher)

# The browser version: Debian's emscripten; its tests drive Debian's chromium (scripts/web-test.sh
# brings Node.js and npm when there are none).
web=(emscripten cmake make python3 fonts-liberation)
web_test=(chromium firefox-esr webkit2gtk-driver xvfb x11-utils)

case "${1:-run}" in
  run) wanted=("${build[@]}") ;;
  test) wanted=("${build[@]}" "${test_only[@]}" "${web[@]}" "${web_test[@]}") ;;
  web) wanted=("${web[@]}") ;;
  web-test) wanted=("${web[@]}" "${web_test[@]}") ;;
  *) echo "usage: $0 [run|test|web|web-test]" >&2; exit 2 ;;
esac

missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
