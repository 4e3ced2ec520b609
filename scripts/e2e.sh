#!/usr/bin/env bash
# End to end: drives the real program on a virtual display with xdotool, as a user would.
# Presses on strip 3 at observation 5, releases higher up, then clicks the button, checking the
# window's pixels after each step. Pictures go to OUTDIR.
# Usage: scripts/e2e.sh [BINARY] [OUTDIR]
set -euo pipefail
cd "$(dirname "$0")/.."
binary="${1:-build/test/pca}"
outdir="${2:-build/e2e}"
source scripts/xvfb-lib.sh
mkdir -p "$outdir"

passed=0
failed=0
check() {  # check WHAT CONDITION-RESULT DETAIL
  if [ "$2" = yes ]; then echo "ok: $1"; passed=$((passed + 1)); else echo "FAILED: $1 ($3)"; failed=$((failed + 1)); fi
}
expect() {  # expect WHAT FILE X Y COLOUR
  local got; got=$(pixel "$2" "$3" "$4")
  check "$1" "$([ "$got" = "$5" ] && echo yes)" "($3,$4) is $got, not $5"
}
expect_not() {
  local got; got=$(pixel "$2" "$3" "$4")
  check "$1" "$([ "$got" != "$5" ] && echo yes)" "($3,$4) is still $5"
}

start_display
start_program "$binary"
read -r width height < <(xwininfo -id "$WINDOW" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
echo "window $WINDOW, client ${width}x${height}"

# The layout of the client area, as the program computes it.
q=$((7 * width / 10)); t=$((7 * width - 10 * q))
if [ "$t" -gt 5 ] || { [ "$t" -eq 5 ] && [ $((q % 2)) -eq 1 ]; }; then q=$((q + 1)); fi
step=$((q / 20)); half=$((step / 2)); row=$((height / 13))
chart_width=$((20 * step)); column=$(((width - 10 - chart_width) / 3))
axis=$((chart_width + 10 + column))
x5=$((10 + half + 4 * step))           # observation 5
strip3_top=$((2 * row + 9))
press_y=$((strip3_top + row - 4))        # low in strip 3
release_y=$((strip3_top + 3))            # near its top

screenshot_once "$outdir/1-start.png" "$axis" 10 808080  # the components drawn
face=$(pixel "$outdir/1-start.png" 0 $((height - 1)))  # the window colour
expect "components view at start: the loading axis" "$outdir/1-start.png" "$axis" 10 808080

xdotool mousemove --window "$WINDOW" "$x5" "$press_y" mousedown 1
xdotool mousemove --window "$WINDOW" "$x5" "$release_y" mouseup 1
screenshot_once "$outdir/2-edited.png" "$axis" 10 "$face"  # the components wiped
expect "the release wiped the components" "$outdir/2-edited.png" "$axis" 10 "$face"
# The edited value (RowHeight div 2 - offset) / RowHeight is drawn on the release row, or one
# above it when RowHeight is even; the marker's left outline is red there.
mark_y=$((release_y - (row % 2 == 0 ? 1 : 0)))
m=$((step / 6)); [ $((row / 6)) -lt "$m" ] && m=$((row / 6)); [ "$m" -lt 2 ] && m=2
expect "the point moved up to the release" "$outdir/2-edited.png" $((x5 - m)) "$mark_y" FF0000
button_y=$((height - 4 - 33 + 16))
expect_not "the button is shown" "$outdir/2-edited.png" 30 "$button_y" "$face"

xdotool mousemove --window "$WINDOW" 104 "$button_y" click 1
screenshot_once "$outdir/3-components.png" "$axis" 10 808080  # the components back
expect "the button brought the components back" "$outdir/3-components.png" "$axis" 10 808080
expect "the button is hidden again" "$outdir/3-components.png" 30 "$button_y" "$face"
expect "the edited point stays" "$outdir/3-components.png" $((x5 - m)) "$mark_y" FF0000
# The scores were recomputed: the component strips differ from the start.
crop="$((chart_width + 1))x$((2 * row))+10+$((10 * row + 19))"
"$CONVERT" "$outdir/1-start.png" -crop "$crop" rgb:"$outdir/scores-before.rgb"
"$CONVERT" "$outdir/3-components.png" -crop "$crop" rgb:"$outdir/scores-after.rgb"
check "the scores were recomputed" "$(cmp -s "$outdir/scores-before.rgb" "$outdir/scores-after.rgb" || echo yes)" "same pixels"

echo "e2e: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
