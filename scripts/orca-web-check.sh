#!/usr/bin/env bash
# What Debian's Orca speaks while the browser version, build/web/pca.html opened from the disk in
# Debian's chromium on a virtual display, is driven by the keys of the desktop's check
# (scripts/orca-lib.sh): Tab to the chart, the arrows to a point, Page Up and Shift+Down to edit
# it, Alt+O for the components. scripts/orca-heard.py checks the phrases. The log and the speech
# go to OUTDIR.
# Usage: scripts/orca-web-check.sh [OUTDIR [PAGE]]   (after scripts/web.sh or scripts/web-test.sh;
#        PAGE: another build's pca.html, build/web/pca.html when not given)
set -euo pipefail
cd "$(dirname "$0")/.."
page="$(realpath -m "${2:-build/web/pca.html}")"
outdir="$(realpath -m "${1:-build/orca-web}")"
[ -f "$page" ] || { echo "no $page: scripts/web.sh builds it" >&2; exit 1; }
source scripts/xvfb-lib.sh
source scripts/orca-lib.sh

# The page in an app window, in a profile of its own. --test-type keeps the warning bar about
# --no-sandbox (which running as root needs) away from the Tab key; nothing reaches the network.
start_page() {
  chromium --no-sandbox --test-type --force-renderer-accessibility --user-data-dir="$2" \
    --no-first-run --disable-gpu --disable-background-networking --disable-component-update \
    --disable-sync --disable-quic --app="file://$1" >/dev/null 2>&1 &
  PROGRAM_PID=$!
  WINDOW=$(find_window 30)
  [ -n "$WINDOW" ] || { echo "the page did not appear" >&2; exit 1; }
  # Orca reads the loaded page aloud, the chart's parts too (the first picture brings them), which
  # takes it seconds; keys typed before it is done wait in its queue. Its last words are the
  # page's last part, the second share, whatever Orca says of the load itself (Orca 43 "Finished
  # loading …", Orca 48 nothing): the keys start once they are spoken and the log is still.
  for _ in $(seq 600); do
    grep -aq "SPEECH OUTPUT: 'Składowa 2: " "$ORCA_LOG" && break
    kill -0 "$ORCA_PID" 2>/dev/null || break
    sleep 0.1
  done
}

private_home
mkdir -p "$PRIVATE/profile/Default"
# Chromium offers to translate a Polish page in a bubble that would take the Tab key.
echo '{"translate": {"enabled": false}}' >"$PRIVATE/profile/Default/Preferences"
start_display
ORCA_HELP_KEYS="question Escape" orca_keys "$outdir" start_page "$page" "$PRIVATE/profile"
/usr/bin/python3 scripts/orca-heard.py --page "$outdir/speech.txt"
