#!/bin/sh
# Relance les simulations d'où viennent les valeurs citées dans les corrigés.
# Chaque série est lancée avec les graines 1 à 10 (SEEDS pour en changer) : le
# simulateur tire ses nombres au hasard, les corrigés donnent donc des
# fourchettes. Pour chaque durée : nombres de A, B, C, D (minimum-maximum sur
# les lancements) et Qr moyen sur la seconde moitié de la durée.
#   course/verifier-valeurs.sh [série...]    (sans argument : toutes)
#   BENCH=autre/molvane-bench SEEDS="1 2 3" course/verifier-valeurs.sh exo2
# Le résultat des séries qui ont servi aux corrigés est gardé dans
# course/valeurs-mesurees.txt.
set -eu
cd "$(dirname "$0")/.."
BENCH=${BENCH:-build/bin/molvane-bench}
SEEDS=${SEEDS:-"1 2 3 4 5 6 7 8 9 10"}
[ -x "$BENCH" ] || { echo "compiler d'abord : cmake --build build --target molvane-bench" >&2; exit 1; }

# serie NOM "A B C D" SENS1 SENS2 TEMPERATURE SECONDES...
serie() {
    nom=$1 counts=$2 s1=$3 s2=$4 temp=$5
    shift 5
    echo "== $nom : état initial $counts, sens 1 $s1 %, sens 2 $s2 %, température $temp"
    for secondes in "$@"; do
        for seed in $SEEDS; do
            "$BENCH" --counts $counts --sense1 "$s1" --sense2 "$s2" --temperature "$temp" \
                --ticks "$((secondes * 10))" --seed "$seed"
        done | sed -E 's/.*"final":\[([0-9,]*)\].*"mean_qr_second_half":([0-9.]+|null).*/\1,\2/' |
            awk -F, -v t="$secondes" '
                { $6 = ($1 > 0 && $2 > 0) ? ($3 / $1) * ($4 / $2) : -1
                  for (i = 1; i <= 6; i++) {
                      v = ($i == "null") ? -1 : $i + 0
                      if (NR == 1 || v < lo[i]) lo[i] = v
                      if (NR == 1 || v > hi[i]) hi[i] = v
                      sum[i] += v } }
                END { printf "t = %4d s  A %3d-%3d  B %3d-%3d  C %3d-%3d  D %3d-%3d  Qr final %.2f-%.2f  Qr moyen %.2f-%.2f (moyenne %.2f)\n",
                          t, lo[1], hi[1], lo[2], hi[2], lo[3], hi[3], lo[4], hi[4], lo[6], hi[6], lo[5], hi[5], sum[5] / NR }'
    done
}

# Sans argument toutes les séries, sinon celles nommées (exo1, exo2...).
ARGS=" $* "
choisie() { [ "$ARGS" = "  " ] || case "$ARGS" in *" $1 "*) return 0 ;; *) return 1 ;; esac; }

# Exercice 1 : vers l'équilibre, tableau lu aux dates de l'énoncé.
choisie exo1 && serie exo1 "100 100 0 0" 50 50 500 2 5 10 15 20 30

# Exercice 2 : Qr à l'équilibre pour cinq couples de pourcentages (1 min).
if choisie exo2; then
    serie exo2 "300 300 0 0" 80 20 500 10 20 30 60
    for couple in "50 50" "90 10" "60 30" "25 75" "70 35"; do
        serie exo2 "300 300 0 0" $couple 500 30 60
    done
fi

# Exercice 3 : même constante (75 % et 25 %), états initiaux différents.
if choisie exo3; then
    for etat in "200 200 0 0" "0 0 200 200" "50 50 150 150" "250 150 0 0"; do
        serie exo3 "$etat" 75 25 500 30 60
    done
fi

# Exercice 4 : la température change la vitesse, pas l'état final.
if choisie exo4; then
    for temperature in 200 500 800; do
        serie exo4 "100 100 0 0" 80 20 "$temperature" 4 10 20 30 60 120
    done
fi

# Exercice 5 : avancement final et constante d'équilibre.
if choisie exo5; then
    for couple in "20 80" "50 50" "80 20" "90 10" "100 0"; do
        serie exo5 "100 100 0 0" $couple 500 30 60
    done
    serie exo5 "100 100 0 0" 100 0 500 120 300
    serie exo5 "200 100 0 0" 50 50 500 30 60
fi
