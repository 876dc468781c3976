#!/bin/sh
# The page's tick against the native core's, measured in the same run, at
# 1 000 particles with the four curves drawn (and, in the page, the magnifier
# open): the median web tick, the native median tick, their ratio, the
# file's size and the time to the first tick.
#
#   bench/web-tick.sh [build/web/molvane.html] [seconds] [build folder]
#
# Needs the page built (make web), Debian's chromium, and web/node_modules
# (npm ci in web/); molvane-bench is built in the build folder if missing.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
page=${1:-build/web/molvane.html}
seconds=${2:-10}
build=${3:-build}
[ -f "$page" ] || { echo "Pas de page : $page (make web)" >&2; exit 1; }
[ -x "$build/bin/molvane-bench" ] || cmake --build "$build" -j 2 --target molvane-bench >&2

web=$(node "$here/web-tick.mjs" "$page" "$seconds")
# As many ticks as the page made, drawn on pictures as the page draws.
native=$("$build/bin/molvane-bench" --counts 500 500 0 0 --draw --ticks 1000 --seed 1 2>/dev/null)

node -e '
const web = JSON.parse(process.argv[1]);
const native = JSON.parse(process.argv[2]);
const nativeMs = native.us_per_tick_median / 1000;
const line = (label, value) => console.log(`${label.padEnd(34)} ${value}`);
line("page", web.page);
line("taille du fichier", `${(web.bytes / 1024 / 1024).toFixed(2)} Mo (${web.bytes} octets)`);
line("premier pas après l'"'"'ouverture", `${web.first_tick_ms} ms`);
line("nombres affichés dans la page", web.counts.join(" "));
line("pas mesurés dans la page", web.ticks);
line("pas médian, page", `${web.median_tick_ms.toFixed(3)} ms (p95 ${web.p95_tick_ms} ms)`);
line("pas médian, cœur natif", `${nativeMs.toFixed(3)} ms`);
line("rapport page / natif", (web.median_tick_ms / nativeMs).toFixed(2));
if (web.errors.length) { line("erreurs de la page", web.errors.join(" ; ")); process.exitCode = 1; }
' "$web" "$native"
