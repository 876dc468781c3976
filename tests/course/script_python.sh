#!/bin/sh
# The Python program of a correction, run as a pupil would on the measures of
# the exercise's own configuration written by molvane-run.
#   script_python.sh MOLVANE-RUN COURSE-SOURCES PROGRAM-FOLDER
# Exit 77 (skipped) when this machine's Python has no numpy or pandas.
set -eu
run=$1 sources=$2 program=$3
python=
for candidate in python3 /usr/bin/python3; do
    if "$candidate" -c 'import numpy, pandas' 2> /dev/null; then python=$candidate; break; fi
done
[ -n "$python" ] || { echo "numpy ou pandas absent : test sauté"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The program is the paragraph of <code> lines of the correction.
awk '/<code>import numpy/ { print; exit }' "$sources/documents/exo10-corrige.html" |
    sed -e 's/<br>/\n/g' -e 's/<[^>]*>//g' -e 's/&gt;/>/g' -e 's/&lt;/</g' -e 's/&amp;/\&/g' > "$work/ordre1.py"
lines=$(grep -c . "$work/ordre1.py")
[ "$lines" -eq 5 ] || { echo "le programme du corrigé a $lines lignes au lieu de 5"; cat "$work/ordre1.py"; exit 1; }

"$run" "$program/exercices/exo10.C11" --duree 30 --graine 3 --format python --sortie "$work/mesures.csv" > /dev/null
out=$(cd "$work" && "$python" ordre1.py)
echo "$out"
# k must be the one the same fit gives by hand, and t1/2 = ln 2 / k.
expected=$(awk -F, 'NR > 1 && $2 >= 5 { t = $1; y = log($2); n++; sx += t; sy += y; sxx += t * t; sxy += t * y }
                    END { printf "%.6f", -(n * sxy - sx * sy) / (n * sxx - sx * sx) }' "$work/mesures.csv")
echo "$out" | awk -v e="$expected" '
    { k = $3; t = $NF
      if (k < e - 1e-5 || k > e + 1e-5) { print "k lu " k ", attendu " e; exit 1 }
      if (t < log(2) / k - 1e-6 || t > log(2) / k + 1e-6) { print "t1/2 lu " t ", attendu " log(2) / k; exit 1 }
      if (k < 0.13 || k > 0.2) { print "k hors de la fourchette du corrigé : " k; exit 1 }
      ok = 1 }
    END { exit ok ? 0 : 1 }'
