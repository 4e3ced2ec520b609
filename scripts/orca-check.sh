#!/usr/bin/env bash
# What Debian's Orca speaks while the real program is driven by keys on a virtual display: Tab to
# the chart, the arrows to a point, Page Up and Shift+Down to edit it, Alt+O for the components
# (scripts/orca-lib.sh). scripts/orca-heard.py checks the phrases. The log and the speech go to
# OUTDIR.
# Usage: scripts/orca-check.sh [BINARY] [OUTDIR]
set -euo pipefail
cd "$(dirname "$0")/.."
binary="$(realpath "${1:-build/test/pca}")"
outdir="$(realpath -m "${2:-build/orca}")"
source scripts/xvfb-lib.sh
source scripts/orca-lib.sh

private_home
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_display
ORCA_HELP_KEYS="F1 Escape" orca_keys "$outdir" start_program "$binary"
/usr/bin/python3 scripts/orca-heard.py "$outdir/speech.txt"
