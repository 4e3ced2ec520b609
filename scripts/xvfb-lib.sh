# Shared by the scripts that drive the real program on a virtual X display. Source it.
# start_display: an Xvfb on a free display number, exported as DISPLAY, stopped on exit
#   (XVFB_SCREEN sets its screen, 1280x1024x24 by default: a scaled window needs a larger one).
# start_program BINARY: runs it there and sets WINDOW to the id of its main window.
# pixel FILE X Y: the colour of one pixel of a PNG as RRGGBB.

start_display() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    # A server of another root on this machine (scripts/debian-root.sh) answers there too: its
    # files are not in this /tmp, but its abstract socket is shared.
    DISPLAY=":$n" xdpyinfo >/dev/null 2>&1 && continue
    Xvfb ":$n" -screen 0 "${XVFB_SCREEN:-1280x1024x24}" -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    xdpyinfo >/dev/null 2>&1 && { trap stop_all EXIT; return 0; }
    kill "$XVFB_PID" 2>/dev/null
  done
  echo "no free X display for Xvfb" >&2
  return 1
}

# The program's window, waited for up to $1 seconds. One search at a time: xdotool gives up on the
# X error of a window that goes while it looks (chromium makes and drops windows as it starts).
find_window() {
  local found=""
  for _ in $(seq $(($1 * 4))); do
    found="$(xdotool search --onlyvisible --name "Analiza" 2>/dev/null | head -n 1)" || true
    [ -n "$found" ] && break
    sleep 0.25
  done
  echo "$found"
}

start_program() {
  QT_QPA_PLATFORM=xcb "$1" >/dev/null 2>&1 &
  PROGRAM_PID=$!
  WINDOW=$(find_window 20)
  [ -n "$WINDOW" ] || { echo "the window did not appear" >&2; return 1; }
  sleep 0.5  # let the first paint land
}

stop_all() {
  [ -n "${PROGRAM_PID:-}" ] && kill "$PROGRAM_PID" 2>/dev/null || true  # it may have ended already
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null
  return 0
}

# ImageMagick's own convert, not any wrapper earlier on the PATH.
CONVERT=/usr/bin/convert
[ -x "$CONVERT" ] || CONVERT=convert

pixel() {
  "$CONVERT" "$1" -crop "1x1+$2+$3" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -n 1 | tr -d '#'
}

screenshot() {
  import -window "$WINDOW" "$1"
}

# screenshot_once FILE X Y COLOUR: screenshots into FILE until the pixel at (X, Y) has COLOUR
# (the event the caller waits for: a paint has landed), for at most 20 s; the caller's checks then
# say what is wrong if it never came.
screenshot_once() {
  local i
  for i in $(seq 100); do
    screenshot "$1"
    [ "$(pixel "$1" "$2" "$3")" = "$4" ] && return 0
    sleep 0.2
  done
  return 0
}
