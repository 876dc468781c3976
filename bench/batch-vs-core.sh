#!/usr/bin/env bash
# molvane-run timed beside the core's own tick, in one run: 1 000 particles
# (500 A and 500 B), 600 simulated seconds (6 000 ticks), the same seed. The
# batch program's cost per tick includes reading the configuration, writing
# every row of CSV and the file itself; its peak memory is given at 60 s and
# at 600 s of simulated time, to show that it does not grow with the duration.
#
#     bench/batch-vs-core.sh [build/bin]
set -euo pipefail
bin=${1:-build/bin}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A configuration file: 22 records of 128 bytes, each a 16-bit length and its text.
record() { local text=$1; printf "\\x$(printf %02x ${#text})\\x00%s" "$text"; head -c $((126 - ${#text})) /dev/zero; }
{
  for value in MOLVANE 500 500 0 0 50 50 500 16711680 16711935 33023 49152 11 60 1 0 1 1 1 1 1 1; do
    record "$value"
  done
} > "$work/mille.C11"

core=$("$bin/molvane-bench" --counts 500 500 0 0 --ticks 6000 --seed 1 | sed -n 's/.*"us_per_tick_median":\([0-9.]*\).*/\1/p')

peak() {  # peak resident memory of a command, in kB, from the kernel's accounting
  local pid status
  "$@" & pid=$!
  local most=0 now
  while kill -0 "$pid" 2>/dev/null; do
    now=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
    [ -n "$now" ] && [ "$now" -gt "$most" ] && most=$now
    sleep 0.05
  done
  wait "$pid" || status=$?
  echo "$most"
  return "${status:-0}"
}

start=$(date +%s%N)
"$bin/molvane-run" "$work/mille.C11" --duree 600 --graine 1 --format python --sortie "$work/m.csv"
end=$(date +%s%N)
rows=$(($(wc -l < "$work/m.csv") - 1))
batch=$(awk -v ns=$((end - start)) -v t="$rows" 'BEGIN { printf "%.2f", ns / 1000 / (t - 1) }')
short=$(peak "$bin/molvane-run" "$work/mille.C11" --duree 60 --graine 1 --sortie "$work/c.csv")
long=$(peak "$bin/molvane-run" "$work/mille.C11" --duree 600 --graine 1 --sortie "$work/l.csv")

echo "cœur (molvane-bench, médiane)         : $core µs par pas"
echo "molvane-run (tout compris, $rows lignes) : $batch µs par pas"
awk -v b="$batch" -v c="$core" 'BEGIN { printf "rapport molvane-run / cœur             : %.2f\n", b / c }'
echo "mémoire de molvane-run à 60 s / 600 s  : $short kB / $long kB"
