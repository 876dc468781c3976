#!/usr/bin/env bash
# Remakes the README's screenshots: the main window during a run, and an
# exercise open in it. The program is installed into a scratch folder first,
# so that the pictures show what a teacher installs and the build tree stays
# clean; it runs on a virtual screen of its own, in French.
#
#   packaging/screenshots.sh [display] [build folder]
#
# Needs Xvfb, xdotool and ImageMagick (import). The default display is :99.
set -euo pipefail

display="${1:-:99}"
build="${2:-build}"
here="$(cd "$(dirname "$0")" && pwd)"
out="$here/captures"
run_seconds=25  # long enough for the curves to rise and settle

for tool in Xvfb xdotool import cmake; do
  command -v "$tool" >/dev/null || { echo "screenshots: $tool est introuvable" >&2; exit 1; }
done
[ -x "$build/bin/molvane" ] || { echo "screenshots: compiler d'abord le programme ($build/bin/molvane)" >&2; exit 1; }

# The exercise's name box shows where the program is installed: where the
# system allows it, the pictures are taken in a mount namespace of their own,
# with the program in /usr/lib/molvane as the package puts it (over an
# overlay of /usr/lib that vanishes with the namespace), else over an empty
# /usr/local, so that they show the path of a real installation and nothing
# is left behind.
if [ -z "${MOLVANE_CAPTURES_PRIVATE:-}" ] && command -v unshare >/dev/null; then
  if [ "$(id -u)" = 0 ]; then as_root=(); else as_root=(--map-root-user); fi
  if unshare --mount "${as_root[@]}" true 2>/dev/null; then
    exec unshare --mount "${as_root[@]}" env MOLVANE_CAPTURES_PRIVATE=1 "$0" "$display" "$build"
  fi
fi

scratch="$(mktemp -d /tmp/molvane-captures.XXXXXX)"
prefix="$scratch/usr"
program_folder=""
if [ -n "${MOLVANE_CAPTURES_PRIVATE:-}" ]; then
  mkdir -p "$scratch/layer/upper" "$scratch/layer/work"
  if mount -t overlay overlay \
       -o "lowerdir=/usr/lib,upperdir=$scratch/layer/upper,workdir=$scratch/layer/work" /usr/lib 2>/dev/null; then
    program_folder=/usr/lib/molvane
  elif mount -t tmpfs tmpfs /usr/local 2>/dev/null; then
    prefix=/usr/local
  fi
fi
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
folder="$prefix/lib/molvane"
program="$prefix/bin/molvane"
if [ -n "$program_folder" ]; then
  rm -rf "$program_folder"
  cp -a "$folder" "$program_folder"
  folder="$program_folder"
  program="$program_folder/molvane"
fi

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY="$display"
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$scratch/run" HOME="$scratch/home"
mkdir -p "$XDG_RUNTIME_DIR" "$HOME" "$out"
chmod 700 "$XDG_RUNTIME_DIR"

# Starts the installed program, waits for its window and pictures it.
capture() {
  local name="$1" window
  # French numbers (decimal comma) whatever the locale of this machine.
  LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8 "$program" >/dev/null 2>&1 &
  app_pid=$!
  window="$(xdotool search --sync --onlyvisible --name 'quilibre dynamique' | head -n 1)"
  sleep "$run_seconds"
  import -window "$window" "$out/$name.png"
  kill "$app_pid" && wait "$app_pid" 2>/dev/null || true
  app_pid=""
  echo "$out/$name.png"
}

# Record n of a record file: a 16-bit little-endian length, then the text,
# in place at byte (n - 1) * 128. Exercise names are plain ASCII.
write_record() {
  local file="$1" n="$2" text="$3"
  printf '%b%b%s' "\\x$(printf %02x ${#text})" '\x00' "$text" |
    dd of="$file" bs=1 seek=$(((n - 1) * 128)) conv=notrunc status=none
}

capture fenetre-principale

# The suite's hand-off file asks the program to open an exercise at start,
# which is how the other programs of the suite hand one over.
exercise="$(cd "$folder" && find . -maxdepth 2 -iname '*.E32' -printf '%P\n' | sort | head -n 1)"
if [ -z "$exercise" ]; then
  echo "screenshots: aucun exercice (*.E32) dans $folder" >&2
  exit 1
fi
rm -f "$folder/TEMPKR.TMP"
write_record "$folder/TEMPKR.TMP" 31 "$exercise"
capture exercice
