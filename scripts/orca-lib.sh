# Shared by the checks of what Orca speaks (scripts/orca-check.sh, scripts/orca-web-check.sh).
# Source it after scripts/xvfb-lib.sh.
# private_home: a private home and runtime folder, so that Orca's settings and the accessibility
#   settings do not reach the user's own; PRIVATE names it (removed on exit, with the display).
# orca_keys OUTDIR START [ARG...]: inside a new session bus, Orca first (it needs a few seconds to
#   listen), then `START ARG...` (a function that starts the client, sets WINDOW and PROGRAM_PID,
#   and may read Orca's log, ORCA_LOG), then the keys Tab, Down ×3, Right ×4, Page Up, Shift+Down,
#   Alt+O, one every 1.5 s so that Orca has spoken each before the next, even on a busy machine.
#   Orca's debug log holds every phrase it would speak ("SPEECH OUTPUT"), its key echo marking
#   where each key falls; no synthesizer is needed. The log goes to OUTDIR/orca-debug.txt, the
#   phrases to OUTDIR/speech.txt.

private_home() {
  PRIVATE="$(mktemp -d)"
  trap 'stop_all; rm -rf "$PRIVATE"' EXIT
  mkdir -p "$PRIVATE/home" "$PRIVATE/runtime"
  chmod 700 "$PRIVATE/runtime"
  export HOME="$PRIVATE/home" XDG_RUNTIME_DIR="$PRIVATE/runtime" GSETTINGS_BACKEND=memory NO_AT_BRIDGE=0
}

orca_keys() {
  local outdir="$1"
  shift
  mkdir -p "$outdir"
  rm -f "$outdir/orca-debug.txt"
  export -f "$1"
  dbus-run-session -- bash -c '
    source scripts/xvfb-lib.sh
    ORCA_LOG="$0/orca-debug.txt"
    orca --debug-file="$ORCA_LOG" >/dev/null 2>&1 &
    ORCA_PID=$!
    trap "kill \$ORCA_PID 2>/dev/null; stop_all" EXIT
    sleep 4
    "$@"
    xdotool windowfocus --sync "$WINDOW"
    sleep 1
    for key in Tab Down Down Down Right Right Right Right Page_Up shift+Down alt+o; do
      xdotool key "$key"
      sleep 1.5
    done
  ' "$outdir" "$@"
  grep -a "SPEECH OUTPUT" "$outdir/orca-debug.txt" > "$outdir/speech.txt" || true
}
