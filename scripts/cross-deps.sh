#!/usr/bin/env bash
# Installs what cross-building for another processor and running its programs here need, but
# only what is missing: the cross compiler, qemu-user, and the target's libraries through
# multiarch (adding the target as a foreign architecture of dpkg, once).
# Usage: scripts/cross-deps.sh arm64
set -euo pipefail
case "${1:-}" in
  arm64) host_tools=(g++-aarch64-linux-gnu qemu-user) ;;
  *) echo "usage: $0 arm64" >&2; exit 2 ;;
esac
arch=$1
# Eigen, the fonts and moc/uic (qt6-base-dev-tools) are the host's: scripts/deps.sh installs them.
target_libs=(qt6-base-dev qt6-qpa-plugins libgtest-dev libbenchmark-dev libgl-dev)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
missing=()
for p in "${host_tools[@]}"; do installed "$p" || missing+=("$p"); done
for p in "${target_libs[@]}"; do installed "$p:$arch" || missing+=("$p:$arch"); done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
  echo "Adding $arch as a foreign architecture of dpkg"
  $sudo dpkg --add-architecture "$arch"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
# A few of the target's post-install scripts cannot run here and print "Exec format error"; the
# libraries are installed all the same.
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
