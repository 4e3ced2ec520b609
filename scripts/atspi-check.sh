#!/usr/bin/env bash
# The real program on a virtual display with the accessibility bus, read through AT-SPI as a
# screen reader reads it (scripts/atspi-read.py): the tree at start, after a key edit, after a
# mouse edit and after the button pressed through its accessible action. Trees go to OUTDIR.
# Usage: scripts/atspi-check.sh [BINARY] [OUTDIR]
set -euo pipefail
cd "$(dirname "$0")/.."
binary="$(realpath "${1:-build/test/pca}")"
outdir="$(realpath -m "${2:-build/atspi}")"
source scripts/xvfb-lib.sh
mkdir -p "$outdir"

# A private home and runtime folder: accessibility settings must not reach the user's own.
private="$(mktemp -d)"
trap 'stop_all; rm -rf "$private"' EXIT
mkdir -p "$private/home" "$private/runtime"
chmod 700 "$private/runtime"
export HOME="$private/home" XDG_RUNTIME_DIR="$private/runtime" GSETTINGS_BACKEND=memory
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0

start_display
# Inside one session bus: the program, then the reader; the bus ends with the reader.
dbus-run-session -- bash -c '
  source scripts/xvfb-lib.sh
  start_program "$1"
  /usr/bin/python3 scripts/atspi-read.py "$2" "$WINDOW"
' atspi "$binary" "$outdir"
