#!/usr/bin/env bash
# What Debian's Orca speaks while the real program is driven by keys on a virtual display: Tab to
# the chart, the arrows to a point, Page Up and Shift+Down to edit it, Alt+O for the components.
# Orca's debug log holds every phrase it would speak ("SPEECH OUTPUT"), its key echo marking
# where each key falls; no synthesizer is needed. scripts/orca-heard.py checks the phrases. The
# log and the speech go to OUTDIR.
# Usage: scripts/orca-check.sh [BINARY] [OUTDIR]
set -euo pipefail
cd "$(dirname "$0")/.."
binary="$(realpath "${1:-build/test/pca}")"
outdir="$(realpath -m "${2:-build/orca}")"
source scripts/xvfb-lib.sh
mkdir -p "$outdir"
rm -f "$outdir/orca-debug.txt"

# A private home and runtime folder: Orca's settings and the accessibility settings must not
# reach the user's own.
private="$(mktemp -d)"
trap 'stop_all; rm -rf "$private"' EXIT
mkdir -p "$private/home" "$private/runtime"
chmod 700 "$private/runtime"
export HOME="$private/home" XDG_RUNTIME_DIR="$private/runtime" GSETTINGS_BACKEND=memory
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0

start_display
# Inside one session bus: Orca first (it needs a few seconds to listen), then the program and
# the keys, one every 1.5 s so that Orca has spoken each before the next, even on a busy machine.
dbus-run-session -- bash -c '
  source scripts/xvfb-lib.sh
  orca --debug-file="$2/orca-debug.txt" >/dev/null 2>&1 &
  ORCA_PID=$!
  trap "kill \$ORCA_PID 2>/dev/null; stop_all" EXIT
  sleep 4
  start_program "$1"
  xdotool windowfocus --sync "$WINDOW"
  sleep 1
  for key in Tab Down Down Down Right Right Right Right Page_Up shift+Down alt+o; do
    xdotool key "$key"
    sleep 1.5
  done
' orca "$binary" "$outdir"

grep -a "SPEECH OUTPUT" "$outdir/orca-debug.txt" > "$outdir/speech.txt" || true
/usr/bin/python3 scripts/orca-heard.py "$outdir/speech.txt"
