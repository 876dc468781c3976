#!/bin/sh
# Starts a display, a session bus with the accessibility bus on it and the
# program, then reads the program as a screen reader does (atspi_walk.py).
# Usage: atspi-check.sh PROGRAM [DISPLAY_NUMBER]
set -eu
program=$1
number=${2:-95}
here=$(dirname "$0")
Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
for _ in 1 2 3 4 5 6 7 8 9 10; do [ -e "/tmp/.X11-unix/X$number" ] && break; sleep 0.3; done
export DISPLAY=":$number" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
export NO_AT_BRIDGE=0 GTK_MODULES=
dbus-run-session -- sh -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately &
  launcher=$!
  sleep 1
  "$0" &
  app=$!
  status=0
  /usr/bin/python3 "$1/atspi_walk.py" 30 || status=$?
  kill $app $launcher 2>/dev/null || true
  exit $status' "$program" "$here"
