#!/bin/sh
# Starts a display, a session bus with the accessibility bus on it and the
# program, then reads the program as a screen reader does (atspi_walk.py).
# The program runs from a folder of its own (a copy of the executable beside
# links to its material), with a home of its own: its hand-off file and its
# settings are not those of any other program or test.
# Usage: atspi-check.sh PROGRAM [DISPLAY_NUMBER]
# MOLVANE_ATSPI_SCRIPT names another reader beside this one (atspi_lesson.py,
# the getting-started lesson done from the keyboard).
# Without a display number, the display server picks a free one.
# Exit status: 0 all read and French, 1 a fault, 2 nothing could be read.
set -eu
program=$(readlink -f "$1")
number=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
limit=${MOLVANE_ATSPI_SECONDS:-90}

for tool in Xvfb dbus-run-session xdotool /usr/bin/python3 /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" >/dev/null 2>&1 || { echo "ÉCHEC : $tool est introuvable"; exit 2; }
done
/usr/bin/python3 -c 'import gi; gi.require_version("Atspi", "2.0"); from gi.repository import Atspi' ||
  { echo "ÉCHEC : le module Atspi de Python est introuvable (gir1.2-atspi-2.0, python3-gi)"; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/molvane-atspi.XXXXXX")
xvfb=""
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 2' INT TERM HUP

folder=$(dirname "$program")
mkdir -p "$work/bin" "$work/home" "$work/run"
chmod 700 "$work/run"
for item in "$folder"/*; do
  case $(basename "$item") in TEMPKR.TMP|*.lock) continue ;; esac
  ln -s "$item" "$work/bin/"
done
rm -f "$work/bin/$(basename "$program")"
cp "$program" "$work/bin/"

if [ -n "$number" ]; then
  Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb=$!
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$number" ] && break; sleep 0.1; done
else
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb=$!
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  number=$(head -n 1 "$work/display" 2>/dev/null || true)
fi
if [ -z "$number" ] || ! kill -0 "$xvfb" 2>/dev/null; then
  echo "ÉCHEC : le serveur d'affichage ne démarre pas"; cat "$work/xvfb.log"; exit 2
fi

export DISPLAY=":$number" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_CACHE_HOME="$work/home/.cache" XDG_RUNTIME_DIR="$work/run"
export NO_AT_BRIDGE=0 GTK_MODULES= LANG=C.UTF-8
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
# A hard limit: a bus or a window that never answers fails the check, it never hangs it.
status=0
timeout -k 5 "$limit" dbus-run-session -- sh -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  launcher=$!
  status=0
  /usr/bin/python3 "$1/$3" "$0" "$2/program.log" || status=$?
  kill $launcher 2>/dev/null || true
  exit $status' "$work/bin/$(basename "$program")" "$here" "$work" \
  "${MOLVANE_ATSPI_SCRIPT:-atspi_walk.py}" || status=$?
if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
  echo "ÉCHEC : la lecture n'a pas fini en $limit s"; status=2
fi
if [ "$status" -ne 0 ] && [ -s "$work/program.log" ]; then
  echo "--- sortie du programme"; tail -n 40 "$work/program.log"
fi
exit "$status"
