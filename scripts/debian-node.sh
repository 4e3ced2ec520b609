#!/usr/bin/env bash
# Prints the path of Debian 12's own Node.js (18), which a fresh Debian machine runs the browser
# tests with. Where the machine's image installed another Node.js over Debian's, Debian's is
# unpacked beside it into build/debian-node/ (its libraries and builtins from Debian's packages,
# harmless beside the other one) and a small launcher there is printed.
# Usage: scripts/debian-node.sh
set -euo pipefail
cd "$(dirname "$0")/.."
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

installed="$(dpkg-query -W -f='${Version}' nodejs 2>/dev/null || true)"
if [[ "$installed" == *dfsg* ]] && command -v node >/dev/null; then
  command -v node
  exit 0
fi

folder="$PWD/build/debian-node"
launcher="$folder/node"
if [ ! -x "$launcher" ]; then
  # Debian's own version: the one whose number carries "dfsg" (the others come from elsewhere).
  debian_version() { apt-cache madison nodejs | awk -F'|' '$2 ~ /dfsg/ {gsub(/ /, "", $2); print $2; exit}'; }
  version="$(debian_version)"
  if [ -z "$version" ]; then
    $sudo apt-get update -q >&2
    version="$(debian_version)"
  fi
  [ -n "$version" ] || { echo "no Debian nodejs package is known to apt" >&2; exit 1; }
  # What libnode loads, and the builtins Debian's node takes from /usr/share/nodejs.
  needed=(libbrotli1 libc-ares2 libicu72 libnghttp2-14 libssl3 libuv1 zlib1g
          node-acorn node-cjs-module-lexer node-undici)
  missing=()
  for p in "${needed[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}" >&2
  fi
  rm -rf "$folder"
  mkdir -p "$folder/debs"
  (cd "$folder/debs" && apt-get download -q "nodejs=$version" "libnode108=$version" >&2)
  for deb in "$folder"/debs/*.deb; do dpkg -x "$deb" "$folder/root"; done
  libs="$(echo "$folder"/root/usr/lib/*-linux-gnu)"
  cat > "$launcher" <<EOF
#!/bin/sh
LD_LIBRARY_PATH="$libs\${LD_LIBRARY_PATH:+:\$LD_LIBRARY_PATH}" exec "$folder/root/usr/bin/node" "\$@"
EOF
  chmod +x "$launcher"
fi
"$launcher" --version >/dev/null
echo "$launcher"
