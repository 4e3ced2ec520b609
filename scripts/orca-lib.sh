# Shared by the checks of what Orca speaks (scripts/orca-check.sh, scripts/orca-web-check.sh).
# Source it after scripts/xvfb-lib.sh.
# private_home: a private home and runtime folder, so that Orca's settings and the accessibility
#   settings do not reach the user's own; PRIVATE names it (removed on exit, with the display).
# orca_keys OUTDIR START [ARG...]: inside a new session bus, Orca first (it needs a few seconds to
#   listen: it is waited for), then `START ARG...` (a function that starts the client, sets WINDOW
#   and PROGRAM_PID, and may read Orca's log, ORCA_LOG), then the keys Tab, Down ×3, Right ×4,
#   Page Up, Shift+Down, Alt+O, then ORCA_HELP_KEYS (the keys that open and close the help), then
#   Ctrl+Z, each once Orca has taken the one before and done with it.
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
  export -f "$1" orca_presses orca_settle
  export ORCA_HELP_KEYS="${ORCA_HELP_KEYS:-}"
  dbus-run-session -- bash -c '
    source scripts/xvfb-lib.sh
    ORCA_LOG="$0/orca-debug.txt"
    # Orca will not start while another of the same user runs, in any root of this machine.
    if pgrep -u "$(id -u)" -x orca >/dev/null; then
      echo "another Orca is running on this machine; this check needs it alone" >&2
      exit 1
    fi
    orca --debug-file="$ORCA_LOG" >/dev/null 2>&1 &
    ORCA_PID=$!
    trap "kill \$ORCA_PID 2>/dev/null; stop_all" EXIT
    # Orca listens once it has said so; a busy machine may take it many seconds.
    for _ in $(seq 600); do
      grep -aq "SPEECH OUTPUT: .Screen reader on" "$ORCA_LOG" 2>/dev/null && break
      kill -0 "$ORCA_PID" 2>/dev/null || break
      sleep 0.1
    done
    "$@"
    xdotool windowfocus --sync "$WINDOW"
    orca_settle
    for key in Tab Down Down Down Right Right Right Right Page_Up shift+Down alt+o $ORCA_HELP_KEYS ctrl+z t Down Escape; do
      presses=$(orca_presses)
      xdotool key "$key"
      for _ in $(seq 300); do [ "$(orca_presses)" -gt "$presses" ] && break; sleep 0.1; done
      orca_settle
      kill -0 "$ORCA_PID" 2>/dev/null || { echo "Orca ended while the keys were typed" >&2; break; }
    done
    # A busy machine may bring the last key'"'"'s events in more than one batch: Orca is given three
    # still seconds more before it is stopped.
    orca_settle 30
  ' "$outdir" "$@"
  grep -a "SPEECH OUTPUT" "$outdir/orca-debug.txt" > "$outdir/speech.txt" || true
}

# The key presses Orca has taken (Orca 43 and 48 both log "vvvvv PROCESS ATSPI_KEY_PRESSED_EVENT").
orca_presses() {
  local n
  n="$(grep -acE "vvvvv PROCESS (ATSPI_)?KEY_PRESSED_EVENT" "$ORCA_LOG" 2>/dev/null)"
  echo "${n:-0}"
}

# Until Orca has done with what came last: its log still for a second, or for $1 tenths of one
# (at most 30 s).
orca_settle() {
  local size=-1 now still=0
  for _ in $(seq 300); do
    now="$(stat -c %s "$ORCA_LOG" 2>/dev/null || echo 0)"
    if [ "$now" = "$size" ]; then still=$((still + 1)); else still=0; fi
    [ "$still" -ge "${1:-10}" ] && return 0
    size="$now"
    sleep 0.1
  done
}
