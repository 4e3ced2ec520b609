#!/usr/bin/env bash
# Starts the real program on a virtual display and saves a picture of its window.
# Usage: scripts/screenshot.sh [BINARY] [OUTPUT.png]
set -euo pipefail
cd "$(dirname "$0")/.."
binary="${1:-build/release/pca}"
output="${2:-docs/screenshot.png}"
source scripts/xvfb-lib.sh

mkdir -p "$(dirname "$output")"
start_display
start_program "$binary"
screenshot "$output"
echo "saved $output"
