#!/usr/bin/env bash
# Starts the program natively on a Wayland compositor (weston's headless backend, no display
# needed) and checks that it opened its window there, drew it and is still running then,
# with no platform plug-in error. The Wayland protocol log shows the window being made.
# Usage: scripts/wayland-check.sh [BINARY] [OUTDIR]
set -euo pipefail
cd "$(dirname "$0")/.."
binary="$(realpath "${1:-build/test/pca}")"
outdir="${2:-build/wayland}"
mkdir -p "$outdir"

runtime=$(mktemp -d)  # weston wants a private runtime folder
chmod 700 "$runtime"
socket="pca-check-$$"
weston_pid="" program_pid=""
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$runtime"
}
trap cleanup EXIT

XDG_RUNTIME_DIR="$runtime" weston --backend=headless-backend.so --socket="$socket" \
  --idle-time=0 >"$outdir/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 50); do [ -S "$runtime/$socket" ] && break; sleep 0.1; done
[ -S "$runtime/$socket" ] || { cat "$outdir/weston.log"; echo "wayland check: FAILED, weston did not start"; exit 1; }

log="$outdir/pca.log"
env -u DISPLAY XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland \
  WAYLAND_DEBUG=client "$binary" >"$log" 2>&1 &
program_pid=$!

# libwayland names an object "xdg_toplevel@15" up to 1.22 and "xdg_toplevel#15" from 1.23 on.
titled='xdg_toplevel[@#][0-9]+\.set_title\("Analiza Składowych Głównych"\)'
drawn='wl_surface[@#][0-9]+\.attach'
# Wait for the picture (or the program's end), up to 30 s.
for _ in $(seq 300); do
  grep -qE "$drawn" "$log" && grep -qE "$titled" "$log" && break
  kill -0 "$program_pid" 2>/dev/null || break
  sleep 0.1
done

fail() { { grep -v '^\[' "$log" || true; } | head -n 20; echo "wayland check: FAILED, $1"; exit 1; }
kill -0 "$program_pid" 2>/dev/null || fail "the program ended"
grep -qiE 'could not (load|connect)|platform plugin|failed to create' "$log" && fail "a platform error"
grep -qE "$titled" "$log" || fail "no window titled \"Analiza Składowych Głównych\""
grep -qE "$drawn" "$log" || fail "the window showed no picture"
kill "$program_pid"
wait "$program_pid" 2>/dev/null || true
program_pid=""
echo "wayland check: the program ran natively on weston, opened its window and drew it"
