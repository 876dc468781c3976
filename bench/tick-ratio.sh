#!/bin/sh
# The window's tick at 1 000 particles with the four curves drawn and the
# magnifier open, at device pixel ratio 1 and 2, from the program's own tick
# log. Each ratio runs on a 2 048 x 1 536 virtual screen with a window manager;
# the set-up is typed and clicked as a user would.
#
#   bench/tick-ratio.sh [build/bin/molvane] [seconds]
#
# Needs Xvfb, openbox and xdotool (Debian: xvfb openbox xdotool).
set -eu
program=${1:-build/bin/molvane}
seconds=${2:-18}
display=${TICK_DISPLAY:-:57}
work=$(mktemp -d)
trap 'kill $wm $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT

Xvfb "$display" -screen 0 2048x1536x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1
DISPLAY=$display openbox >/dev/null 2>&1 &
wm=$!
sleep 1

run() {
    ratio=$1
    log=$work/ticks-$ratio.log
    DISPLAY=$display QT_SCALE_FACTOR=$ratio MOLVANE_TICK_LOG=1 XDG_CONFIG_HOME=$work/config \
        "$program" 2>"$log" >/dev/null &
    pid=$!
    sleep 4
    export DISPLAY=$display
    window=$(xdotool search --name "Équilibre dynamique" | head -n 1)
    xdotool windowactivate --sync "$window"
    # A point of the window, in its own pixels.
    click() { xdotool mousemove --window "$window" $(($1 * ratio)) $(($2 * ratio)) click 1; sleep 0.3; }
    # 500 A and 500 B.
    click 172 281
    xdotool key ctrl+a type 500
    xdotool key Tab ctrl+a type 500
    xdotool key Tab
    sleep 0.5
    # The four curves: A, B and D beside C in "Suivi du système".
    xdotool key ctrl+Tab ctrl+Tab
    sleep 0.5
    click 459 159
    click 459 179
    click 624 179
    # The magnifier (Alt+G), then the measure.
    xdotool key alt+g
    sleep 1
    before=$(wc -l <"$log")
    sleep "$seconds"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    # The medians of the 5-second windows begun with the magnifier open.
    tail -n +$((before + 2)) "$log" | grep -a '1000 particles' | sed 's/.*median tick \([0-9.]*\) ms.*/\1/' | tr '\n' ' '
}

one=$(run 1)
two=$(run 2)
echo "ratio 1: median tick (ms) per 5 s: $one"
echo "ratio 2: median tick (ms) per 5 s: $two"
