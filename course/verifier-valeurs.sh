#!/bin/sh
# Relance les simulations d'où viennent les valeurs citées dans les corrigés.
# Chaque série est lancée avec les graines 1 à 10 (SEEDS pour en changer) : le
# simulateur tire ses nombres au hasard, les corrigés donnent donc des
# fourchettes (minimum-maximum sur les lancements). Une date d'une ligne du
# tableau est le nombre de pas de 0,1 s simulés : un lancement jusqu'à cette
# date donne les nombres que la ligne affiche.
#   course/verifier-valeurs.sh [série...]    (sans argument : toutes, une douzaine de minutes)
#   BENCH=autre/molvane-bench SEEDS="1 2 3" course/verifier-valeurs.sh exo2
# Le résultat des séries qui ont servi aux corrigés est gardé dans
# course/valeurs-mesurees.txt.
set -eu
cd "$(dirname "$0")/.."
BENCH=${BENCH:-build/bin/molvane-bench}
SEEDS=${SEEDS:-"1 2 3 4 5 6 7 8 9 10"}
[ -x "$BENCH" ] || { echo "compiler d'abord : cmake --build build --target molvane-bench" >&2; exit 1; }

# Réglages de la série en cours : état initial, pourcentages, température.
reglages() {
    counts=$1 s1=$2 s2=$3 temp=$4
    echo "== $nom : état initial $counts, sens 1 $s1 %, sens 2 $s2 %, température $temp"
}

# lancement SECONDES GRAINE : la ligne JSON du banc d'essai.
lancement() {
    "$BENCH" --counts $counts --sense1 "$s1" --sense2 "$s2" --temperature "$temp" \
        --ticks "$(($1 * 10))" --seed "$2"
}

# comptes SECONDES GRAINE : « A B C D » à cette date.
comptes() {
    lancement "$1" "$2" | sed -E 's/.*"final":\[([0-9]+),([0-9]+),([0-9]+),([0-9]+)\].*/\1 \2 \3 \4/'
}

# dates DEBUT FIN PAS : les dates des lignes lues.
dates() {
    awk -v a="$1" -v b="$2" -v p="$3" 'BEGIN { for (t = a; t <= b; t += p) print t }'
}

# a_la_date SECONDES... : pour chaque date, nombres de A, B, C, D et Qr de la
# ligne, puis Qr moyen sur la seconde moitié des pas (tous les pas, pas
# seulement les lignes du tableau).
a_la_date() {
    for secondes in "$@"; do
        for seed in $SEEDS; do
            lancement "$secondes" "$seed"
        done | sed -E 's/.*"final":\[([0-9,]*)\].*"mean_qr_second_half":([0-9.]+|null).*/\1,\2/' |
            awk -F, -v t="$secondes" '
                { $6 = ($1 > 0 && $2 > 0) ? ($3 / $1) * ($4 / $2) : -1
                  for (i = 1; i <= 6; i++) {
                      v = ($i == "null") ? -1 : $i + 0
                      if (NR == 1 || v < lo[i]) lo[i] = v
                      if (NR == 1 || v > hi[i]) hi[i] = v
                      sum[i] += v } }
                END { printf "t = %4d s  A %3d-%3d  B %3d-%3d  C %3d-%3d  D %3d-%3d  Qr de la ligne %.2f-%.2f  Qr moyen %.2f-%.2f (moyenne %.2f)\n",
                          t, lo[1], hi[1], lo[2], hi[2], lo[3], hi[3], lo[4], hi[4], lo[6], hi[6], lo[5], hi[5], sum[5] / NR }'
    done
}

# moyenne_lignes DEBUT FIN PAS : ce que fait l'élève qui relève les lignes de
# DEBUT à FIN et en fait la moyenne. Pour chaque lancement, moyennes des
# nombres et de Qr sur ces lignes, et Qr calculé avec les nombres moyens ;
# puis Qr d'une seule ligne.
moyenne_lignes() {
    for seed in $SEEDS; do
        for secondes in $(dates "$1" "$2" "$3"); do
            echo "$seed $(comptes "$secondes" "$seed")"
        done
    done | awk -v a="$1" -v b="$2" -v p="$3" '
        function garde(i, v) { if (!(i in lo) || v < lo[i]) lo[i] = v; if (!(i in hi) || v > hi[i]) hi[i] = v }
        function ferme() {
            if (n == 0) return
            for (i = 2; i <= 5; i++) garde(i, s[i] / n)
            if (nq > 0) garde(6, sq / nq)
            if (s[2] > 0 && s[3] > 0) garde(8, (s[4] / s[2]) * (s[5] / s[3]))
            for (i = 2; i <= 5; i++) s[i] = 0
            n = 0; sq = 0; nq = 0 }
        $1 != graine { ferme(); graine = $1 }
        { for (i = 2; i <= 5; i++) s[i] += $i
          n++
          if ($2 > 0 && $3 > 0) { q = ($4 / $2) * ($5 / $3); sq += q; nq++; garde(7, q) } }
        END { ferme()
              printf "lignes de %d à %d s (toutes les %d s), moyennes : A %.1f-%.1f  B %.1f-%.1f  C %.1f-%.1f  D %.1f-%.1f  Qr %.2f-%.2f\n",
                     a, b, p, lo[2], hi[2], lo[3], hi[3], lo[4], hi[4], lo[5], hi[5], lo[6], hi[6]
              printf "    Qr des nombres moyens %.2f-%.2f ; Qr d une ligne %.2f-%.2f\n", lo[8], hi[8], lo[7], hi[7] }'
}

# atteint SEUIL PAS FIN : première ligne (une toutes les PAS secondes) où le
# nombre de C atteint SEUIL, pour chaque lancement.
atteint() {
    seuil=$1 pas=$2 fin=$3
    for seed in $SEEDS; do
        premiere=jamais
        for secondes in $(dates "$pas" "$fin" "$pas"); do
            c=$(comptes "$secondes" "$seed" | cut -d' ' -f3)
            if [ "$c" -ge "$seuil" ]; then
                premiere=$secondes
                break
            fi
        done
        echo "$premiere"
    done | awk -v seuil="$seuil" '
        $1 == "jamais" { jamais++; next }
        { if (!n || $1 < lo) lo = $1; if (!n || $1 > hi) hi = $1; n++ }
        END { printf "C atteint %d : ligne de %s à %s s", seuil, n ? lo : "-", n ? hi : "-"
              if (jamais) printf " (jamais pour %d lancements)", jamais
              printf "\n" }'
}

# Sans argument toutes les séries, sinon celles nommées (exo1, exo2...).
ARGS=" $* "
choisie() {
    nom=$1
    [ "$ARGS" = "  " ] || case "$ARGS" in *" $1 "*) return 0 ;; *) return 1 ;; esac
}

# Exercice 1 : vers l'équilibre, tableau lu aux dates de l'énoncé.
if choisie exo1; then
    reglages "100 100 0 0" 50 50 500
    a_la_date 2 5 10 15 20 30
fi

# Exercice 2 : l'évolution de Qr, puis Qr moyen des lignes de 50 à 60 s pour
# six couples de pourcentages.
if choisie exo2; then
    reglages "300 300 0 0" 80 20 500
    a_la_date 10 20 30 60
    for couple in "80 20" "50 50" "90 10" "60 30" "25 75" "70 35"; do
        reglages "300 300 0 0" $couple 500
        moyenne_lignes 50 60 1
    done
fi

# Exercice 3 : même constante (75 % et 25 %), états initiaux différents.
if choisie exo3; then
    for etat in "200 200 0 0" "0 0 200 200" "50 50 150 150" "250 150 0 0"; do
        reglages "$etat" 75 25 500
        moyenne_lignes 50 60 1
    done
fi

# Exercice 4 : la température change la vitesse, pas l'état final. Le tableau
# a une ligne toutes les 2 s.
if choisie exo4; then
    for temperature in 200 800; do
        reglages "100 100 0 0" 80 20 "$temperature"
        a_la_date 4 10 20 30 60 120
        atteint 60 2 120
        moyenne_lignes 100 120 2
    done
fi

# Exercice 5 : avancement final et constante d'équilibre.
if choisie exo5; then
    for couple in "20 80" "50 50" "80 20" "90 10" "100 0"; do
        reglages "100 100 0 0" $couple 500
        moyenne_lignes 50 60 1
    done
    reglages "100 100 0 0" 100 0 500
    a_la_date 120 300
    reglages "200 100 0 0" 50 50 500
    moyenne_lignes 50 60 1
fi
