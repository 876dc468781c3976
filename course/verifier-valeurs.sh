#!/bin/sh
# Relance les simulations d'où viennent les valeurs citées dans les corrigés
# et vérifie que chaque fourchette citée contient bien ce que donnent ces
# simulations. Chaque série est simulée pour les graines 1 à 40 (GRAINES pour
# en changer), toutes par molvane-run --graines, comme la fenêtre le ferait
# avec le même fichier de configuration : le simulateur tire ses nombres au
# hasard, les corrigés donnent donc des fourchettes (du plus petit au plus
# grand résultat des 40 lancements). Une date d'une ligne du tableau est un
# nombre de pas de 0,1 s simulés : la ligne de la date t est celle du pas 10 t
# du fichier CSV.
#   course/verifier-valeurs.sh [exo1 ... exo12 | aide]   (sans argument : tout)
#   RUN=autre/molvane-run PROCESSUS=1 course/verifier-valeurs.sh exo2
# Chaque valeur vérifiée s'écrit sur une ligne « ok » ou « ÉCHEC » ; le code
# de sortie est 1 dès qu'une fourchette citée ne tient pas. Le résultat de la
# dernière vérification complète est gardé dans course/valeurs-mesurees.txt.
set -eu
cd "$(dirname "$0")/.."
RUN=${RUN:-build/bin/molvane-run}
GRAINES=${GRAINES:-1-40}
PROCESSUS=${PROCESSUS:-2}
[ -x "$RUN" ] || { echo "compiler d'abord : cmake --build build --target molvane-run" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
: > "$work/echecs"

# enregistrement TEXTE : un enregistrement de 128 octets du fichier de
# configuration (sa longueur sur 16 bits, le texte, des zéros).
enregistrement() {
    printf "\\$(printf %03o ${#1})\\000%s" "$1"
    head -c $((126 - ${#1})) /dev/zero
}

# simule NOM "A B C D" SENS1 SENS2 TEMPERATURE DUREE : simule la série pour
# chaque graine et garde dans NOM une ligne « graine pas A B C D » par pas de
# 0 à 10 DUREE. Les barres des pourcentages sont graduées de haut en bas
# (position 100 - pourcentage).
simule() {
    nom=$1 counts=$2 s1=$3 s2=$4 temp=$5 duree=$6
    echo "== $nom : état initial $counts, sens 1 $s1 %, sens 2 $s2 %, température $temp, $duree s"
    for valeur in MOLVANE $counts $((100 - s1)) $((100 - s2)) "$temp" \
                  16711680 16711935 33023 49152 11 60 1 0 1 1 1 1 1 1; do
        enregistrement "$valeur"
    done > "$work/serie.C11"
    rm -f "$work"/sortie-graine*.csv
    "$RUN" "$work/serie.C11" --duree "$duree" --graines "$GRAINES" --processus "$PROCESSUS" \
        --format python --sortie "$work/sortie.csv" > /dev/null
    for f in "$work"/sortie-graine*.csv; do
        g=${f##*-graine}
        awk -F, -v g="${g%.csv}" 'NR > 1 { print g, NR - 2, $2, $3, $4, $5 }' "$f"
    done > "$work/$nom"
}

# Les extracteurs lisent une série gardée et écrivent, pour chaque graine,
# une ligne « graine valeur ». COL est A, B, C ou D ; les lignes lues vont de
# DEBUT à FIN secondes, une toutes les PAS secondes, comme celles d'un tableau.
colonne() { case $1 in A) echo 3 ;; B) echo 4 ;; C) echo 5 ;; D) echo 6 ;; esac; }

# lignes SERIE DEBUT FIN PAS : les lignes du tableau (graine date A B C D).
lignes() {
    awk -v a="$2" -v b="$3" -v p="$4" '
        BEGIN { da = int(a * 10 + 0.5); db = int(b * 10 + 0.5); dp = int(p * 10 + 0.5) }
        $2 >= da && $2 <= db && ($2 - da) % dp == 0 { print $1, $2 / 10, $3, $4, $5, $6 }' "$work/$1"
}

# a_la_date SERIE T COL : le nombre lu à la ligne de la date T.
a_la_date() { lignes "$1" "$2" "$2" 1 | awk -v c="$(colonne "$3")" '{ print $1, $c }'; }

# moyenne SERIE DEBUT FIN PAS COL : moyenne du nombre sur les lignes.
moyenne() {
    lignes "$1" "$2" "$3" "$4" | awk -v c="$(colonne "$5")" '
        { s[$1] += $c; n[$1]++ } END { for (g in s) print g, s[g] / n[g] }'
}

# qr_des_moyennes SERIE DEBUT FIN PAS : Qr calculé avec les nombres moyens des
# lignes (ce que fait l'élève), et qr_moyen_des_lignes : moyenne des Qr des
# lignes (biaisée vers le haut avec peu de particules).
qr_des_moyennes() {
    lignes "$1" "$2" "$3" "$4" | awk '
        { a[$1] += $3; b[$1] += $4; c[$1] += $5; d[$1] += $6 }
        END { for (g in a) print g, (a[g] > 0 && b[g] > 0) ? (c[g] * d[g]) / (a[g] * b[g]) : "aucun" }'
}
qr_moyen_des_lignes() {
    lignes "$1" "$2" "$3" "$4" | awk '
        $3 > 0 && $4 > 0 { s[$1] += ($5 * $6) / ($3 * $4); n[$1]++ } END { for (g in s) print g, s[g] / n[g] }'
}

# extreme SERIE DEBUT FIN PAS QUOI min|max : le plus petit ou le plus grand
# nombre (QUOI = A, B, C ou D) ou Qr d'une ligne (QUOI = Qr ; les lignes sans
# A ou sans B n'ont pas de Qr).
extreme() {
    lignes "$1" "$2" "$3" "$4" | awk -v quoi="$5" -v sens="$6" '
        { if (quoi == "Qr") { if ($3 == 0 || $4 == 0) next; v = ($5 * $6) / ($3 * $4) }
          else v = $(index("ABCD", quoi) + 2)
          if (!($1 in m) || (sens == "min" && v < m[$1]) || (sens == "max" && v > m[$1])) m[$1] = v }
        END { for (g in m) print g, m[g] }'
}

# ecart_relatif SERIE DEBUT FIN PAS ATTENDU : le plus grand écart entre N(C)
# et ATTENDU sur les lignes, divisé par ATTENDU, en pour cent.
ecart_relatif() {
    lignes "$1" "$2" "$3" "$4" | awk -v e="$5" '
        { x = $5 > e ? $5 - e : e - $5; if (!($1 in m) || x > m[$1]) m[$1] = x }
        END { for (g in m) print g, 100 * m[g] / e }'
}

# ecart_type_relatif SERIE DEBUT FIN PAS : écart-type de N(C) sur les lignes,
# divisé par sa moyenne, en pour cent.
ecart_type_relatif() {
    lignes "$1" "$2" "$3" "$4" | awk '
        { s[$1] += $5; ss[$1] += $5 * $5; n[$1]++ }
        END { for (g in s) { m = s[g] / n[g]; v = ss[g] / n[g] - m * m; print g, 100 * sqrt(v > 0 ? v : 0) / m } }'
}

# premiere SERIE FIN PAS COL haut|bas SEUIL : date de la première ligne (une
# toutes les PAS secondes) où le nombre a atteint SEUIL en montant (haut) ou
# en descendant (bas) ; « jamais » si aucune ligne ne l'atteint.
premiere() {
    lignes "$1" "$3" "$2" "$3" | awk -v c="$(colonne "$4")" -v sens="$5" -v seuil="$6" '
        { vu[$1] += 0 }
        !vu[$1] && ((sens == "haut" && $c >= seuil) || (sens == "bas" && $c <= seuil)) { t[$1] = $2; vu[$1] = 1 }
        END { for (g in vu) print g, vu[g] ? t[g] : "jamais" }'
}

# pente_ln SERIE MINI : ajustement affine de ln N(A) en fonction de t sur
# tous les pas où il reste au moins MINI particules A (ce que fait le script
# Python de l'exercice) ; k, l'opposé de la pente, en s^-1.
pente_ln() {
    awk -v mini="$2" '
        $3 >= mini { t = $2 / 10; y = log($3); n[$1]++; sx[$1] += t; sy[$1] += y; sxx[$1] += t * t; sxy[$1] += t * y }
        END { for (g in n) print g, -(n[g] * sxy[g] - sx[g] * sy[g]) / (n[g] * sxx[g] - sx[g] * sx[g]) }' "$work/$1"
}

# tient LIBELLE MIN MAX [MOYENNE_MIN MOYENNE_MAX] : lit les lignes « graine
# valeur » d'un extracteur ; écrit le plus petit et le plus grand résultat et
# leur moyenne, puis « ok » quand la fourchette citée MIN-MAX contient tous
# les résultats (et MOYENNE_MIN-MOYENNE_MAX leur moyenne), « ÉCHEC » sinon.
# MIN ou MAX « - » : valeur seulement mesurée, non citée.
tient() {
    awk -v quoi="$1" -v lo="$2" -v hi="$3" -v mlo="${4:--}" -v mhi="${5:--}" '
        $2 == "jamais" || $2 == "aucun" { manque++; next }
        { v = $2 + 0; if (!n || v < a) a = v; if (!n || v > b) b = v; s += v; n++ }
        END { m = n ? s / n : 0
              ok = !manque && n > 0
              if (lo != "-" && a < lo - 1e-9) ok = 0
              if (hi != "-" && b > hi + 1e-9) ok = 0
              if (mlo != "-" && (m < mlo - 1e-9 || m > mhi + 1e-9)) ok = 0
              cite = (lo == "-" && hi == "-") ? "mesuré seulement" : "cité " lo " à " hi
              if (mlo != "-") cite = cite ", moyenne " mlo " à " mhi
              printf "  %-52s %9.4f à %9.4f (moyenne %.4f, %d lancements%s) ; %s : %s\n", quoi, a, b, m, n,
                     manque ? ", " manque " sans valeur" : "", cite, ok ? "ok" : "ÉCHEC"
              exit ok ? 0 : 1 }' || echo "$1" >> "$work/echecs"
}

# Sans argument toutes les séries, sinon celles nommées.
ARGS=" $* "
choisie() { [ "$ARGS" = "  " ] || case "$ARGS" in *" $1 "*) return 0 ;; *) return 1 ;; esac; }

# Exercice 1 : vers l'équilibre (K = 1), tableau d'une ligne par seconde.
if choisie exo1; then
    simule e1 "100 100 0 0" 50 50 500 30
    for ligne in "2 71 85 15 29" "5 60 69 31 40" "10 49 60 40 51" "15 45 57 43 55" "20 44 57 43 56" "30 47 58 42 53"; do
        set -- $ligne
        a_la_date e1 $1 A | tient "exo1 Q4 N(A) à $1 s" $2 $3
        a_la_date e1 $1 C | tient "exo1 Q4 N(C) à $1 s" $4 $5
    done
    extreme e1 15 30 1 A min | tient "exo1 Q6 N(A) le plus petit, 15 à 30 s" 43 -
    extreme e1 15 30 1 A max | tient "exo1 Q6 N(A) le plus grand, 15 à 30 s" - 58
    extreme e1 15 30 1 C min | tient "exo1 Q6 N(C) le plus petit, 15 à 30 s" 42 -
    extreme e1 15 30 1 C max | tient "exo1 Q6 N(C) le plus grand, 15 à 30 s" - 57
fi

# Exercice 2 : Qr au cours du temps, puis Qr calculé avec les nombres moyens
# des lignes de 50 à 60 s pour six couples de pourcentages (K = sens 1 / sens 2).
if choisie exo2; then
    simule e2 "300 300 0 0" 80 20 500 60
    extreme e2 20 60 1 Qr min | tient "exo2 Q3 Qr des lignes de 20 à 60 s, le plus petit" 2.8 -
    extreme e2 20 60 1 Qr max | tient "exo2 Q3 Qr des lignes de 20 à 60 s, le plus grand" - 6.0
    extreme e2 50 60 1 Qr min | tient "exo2 Q4 Qr d'une ligne de 50 à 60 s, le plus petit" 2.8 -
    extreme e2 50 60 1 Qr max | tient "exo2 Q4 Qr d'une ligne de 50 à 60 s, le plus grand" - 5.9
    moyenne e2 50 60 1 A | tient "exo2 Q4 N(A) moyen" 96 107
    moyenne e2 50 60 1 C | tient "exo2 Q4 N(C) moyen" 193 204
    qr_des_moyennes e2 50 60 1 | tient "exo2 Q4-Q5 Qr des nombres moyens, 80/20" 3.3 4.6 3.95 4.05
    for couple in "50 50 0.90 1.14 0.985 0.995" "90 10 7.8 11.0 9.05 9.15" "60 30 1.72 2.36 1.95 2.05" \
                  "25 75 0.28 0.40 0.335 0.345" "70 35 1.61 2.24 -"; do
        set -- $couple
        simule e2-$1-$2 "300 300 0 0" $1 $2 500 60
        qr_des_moyennes e2-$1-$2 50 60 1 | tient "exo2 Q5 Qr des nombres moyens, $1/$2" $3 $4 ${5:-} ${6:-}
    done
fi

# Exercice 3 : K = 3, quatre états initiaux ; moyennes des lignes de 50 à 60 s.
if choisie exo3; then
    for etat in "a 200 200 0 0 70 80 120 130 2.3 3.4" "b 0 0 200 200 68 78 122 132 2.4 3.8" \
                "c 50 50 150 150 67 77 123 133 2.5 3.8" "d 250 150 0 0 129 139 111 121 2.3 3.9"; do
        set -- $etat
        simule e3$1 "$2 $3 $4 $5" 75 25 500 60
        moyenne e3$1 50 60 1 A | tient "exo3 Q4 $1 N(A) moyen" $6 $7
        moyenne e3$1 50 60 1 C | tient "exo3 Q4 $1 N(C) moyen" $8 $9
        qr_des_moyennes e3$1 50 60 1 | tient "exo3 Q4 $1 Qr des nombres moyens" ${10} ${11}
    done
fi

# Exercice 4 : un mélange à l'équilibre (K = 4), puis 100 A ajoutés.
if choisie exo4; then
    simule e4 "33 33 67 67" 80 20 500 60
    extreme e4 0 60 1 C min | tient "exo4 Q2 N(C) le plus petit, 0 à 60 s" 59 -
    extreme e4 0 60 1 C max | tient "exo4 Q2 N(C) le plus grand, 0 à 60 s" - 74
    extreme e4 0 60 1 Qr min | tient "exo4 Q2 Qr d'une ligne, le plus petit" 2.0 -
    extreme e4 0 60 1 Qr max | tient "exo4 Q2 Qr d'une ligne, le plus grand" - 8.2
    qr_des_moyennes e4 0 60 1 | tient "exo4 Q2 Qr des nombres moyens, 0 à 60 s" 3.4 4.7
    simule e4b "133 33 67 67" 80 20 500 60
    for ligne in "2 120 130 70 80" "5 112 122 78 88" "10 110 123 77 90" "30 111 119 81 89" "60 111 120 80 89"; do
        set -- $ligne
        a_la_date e4b $1 A | tient "exo4 Q4 N(A) à $1 s (N(B) = N(A) - 100)" $2 $3
        a_la_date e4b $1 C | tient "exo4 Q4 N(C) à $1 s" $4 $5
    done
    moyenne e4b 40 60 1 A | tient "exo4 Q6 N(A) moyen, 40 à 60 s" 113 119
    moyenne e4b 40 60 1 C | tient "exo4 Q6 N(C) moyen, 40 à 60 s" 81 87
    qr_des_moyennes e4b 40 60 1 | tient "exo4 Q6 Qr des nombres moyens" 3.0 5.0
fi

# Exercice 5 : avancement final (moyenne de N(C) de 50 à 60 s) selon K.
if choisie exo5; then
    for couple in "20 80 30 38" "50 50 47 55" "80 20 62 69" "90 10 69 78" "100 0 84 96"; do
        set -- $couple
        simule e5-$1 "100 100 0 0" $1 $2 500 60
        moyenne e5-$1 50 60 1 C | tient "exo5 Q3 xf, $1/$2" $3 $4
    done
    simule e5-long "100 100 0 0" 100 0 500 300
    a_la_date e5-long 120 C | tient "exo5 Q5 N(C) à 2 min, 100/0" 91 98
    a_la_date e5-long 300 C | tient "exo5 Q5 N(C) à 5 min, 100/0" 96 100
    simule e5-exces "200 100 0 0" 50 50 500 60
    moyenne e5-exces 50 60 1 C | tient "exo5 Q7 xf, 200 A et 100 B" 63 70
fi

# Exercice 6 : rendement d'une synthèse (K = 4) ; on retire un produit.
if choisie exo6; then
    simule e6a "100 100 0 0" 80 20 500 60
    moyenne e6a 40 60 1 C | tient "exo6 Q2 N(C) moyen, 40 à 60 s, 100 A et 100 B" 62 69
    qr_des_moyennes e6a 40 60 1 | tient "exo6 Q2 Qr des nombres moyens" 2.7 4.9
    simule e6b "33 33 67 0" 80 20 500 60
    moyenne e6b 40 60 1 C | tient "exo6 Q4 N(C) moyen, eau retirée une fois" 80 86
    moyenne e6b 40 60 1 D | tient "exo6 Q4 N(D) moyen, eau retirée une fois" 13 19
    qr_des_moyennes e6b 40 60 1 | tient "exo6 Q4 Qr des nombres moyens" 2.8 7.4 3.95 4.05
    simule e6c "18 18 82 0" 80 20 500 60
    moyenne e6c 40 60 1 C | tient "exo6 Q5 N(C) moyen, eau retirée deux fois" 86 91
    simule e6d "200 100 0 0" 80 20 500 60
    moyenne e6d 40 60 1 C | tient "exo6 Q7 N(C) moyen, 200 A et 100 B" 81 87
fi

# Exercice 7 : la température (positions 200 et 800), K = 4. Le temps de
# demi-réaction se lit sur un tableau de 20 s à 101 lignes (une toutes les
# 0,2 s), l'état final sur un tableau de 2 min à 61 lignes (toutes les 2 s).
if choisie exo7; then
    for reglage in "200 7 20 14 30 35 48 49 62 5.0 9.8 6.95 7.05 63 71 2.9 5.5" \
                   "800 34 48 48 61 58 68 58 70 1.0 1.8 1.35 1.45 63 71 3.0 5.9"; do
        set -- $reglage
        temperature=$1
        simule e7-$temperature "100 100 0 0" 80 20 $temperature 120
        shift
        for t in 2 4 10 20; do
            a_la_date e7-$temperature $t C | tient "exo7 Q2-Q3 N(C) à $t s, $temperature" $1 $2
            shift 2
        done
        premiere e7-$temperature 20 0.2 C haut 33 | tient "exo7 Q2-Q4 t1/2 (N(C) atteint 33), $temperature" $1 $2 $3 $4
        moyenne e7-$temperature 100 120 2 C | tient "exo7 Q5 N(C) moyen, 100 à 120 s, $temperature" $5 $6 66.95 67.1
        qr_des_moyennes e7-$temperature 100 120 2 | tient "exo7 Q5 Qr des nombres moyens, $temperature" $7 $8
    done
fi

# Exercice 8 : le catalyseur ; K = 2 avec 80 % et 40 %, puis 20 % et 10 %.
if choisie exo8; then
    for reglage in "80 40 25 40 36 49 47 60 52 66 1.2 2.4 1.8 1.9" "20 10 8 14 14 19 29 38 42 49 6.8 10.0 8.25 8.35"; do
        set -- $reglage
        s1=$1 s2=$2
        simule e8-$s1 "100 100 0 0" $s1 $s2 500 120
        shift 2
        for t in 2 4 10 20; do
            a_la_date e8-$s1 $t C | tient "exo8 Q2-Q3 N(C) à $t s, $s1/$s2" $1 $2
            shift 2
        done
        premiere e8-$s1 20 0.2 C haut 29 | tient "exo8 Q5 t1/2 (N(C) atteint 29), $s1/$s2" $1 $2 $3 $4
        moyenne e8-$s1 100 120 2 C | tient "exo8 Q4 N(C) moyen, 100 à 120 s, $s1/$s2" 55 62 58.45 58.65
    done
fi

# Exercice 9 : transformation totale (100 % et 0 %) ; t1/2 selon les nombres
# initiaux (tableau de 20 s à 101 lignes) et C formés pendant la première seconde.
if choisie exo9; then
    for reglage in "50 4.0 11.0 6.75 6.85" "100 2.8 5.0 3.65 3.75" "200 1.6 3.2 2.15 2.25"; do
        set -- $reglage
        simule e9-$1 "$1 $1 0 0" 100 0 500 20
        premiere e9-$1 20 0.2 C haut $(($1 / 2)) | tient "exo9 Q2-Q3 t1/2, $1 A et $1 B" $2 $3 $4 $5
    done
    simule e9-100-50 "100 50 0 0" 100 0 500 20
    a_la_date e9-50 1 C | tient "exo9 Q5 C formés en 1 s, 50 x 50" 2 11 6.45 6.55
    a_la_date e9-100-50 1 C | tient "exo9 Q5 C formés en 1 s, 100 x 50" 7 18 12.95 13.05
    a_la_date e9-100 1 C | tient "exo9 Q5 C formés en 1 s, 100 x 100" 15 34 24.65 24.75
fi

# Exercice 10 : loi de vitesse d'ordre 1, 40 A et 600 B (20 % et 0 %) ;
# ajustement de ln N(A) en fonction de t, comme le script Python.
if choisie exo10; then
    simule e10 "40 600 0 0" 20 0 500 30
    a_la_date e10 30 B | tient "exo10 Q1 N(B) à 30 s" 560 561
    premiere e10 30 0.3 A bas 20 | tient "exo10 Q2 N(A) descend à 20, ligne" 3.3 4.5 3.85 3.95
    premiere e10 30 0.3 A bas 10 | tient "exo10 Q2 N(A) descend à 10, ligne" 6.9 9.0 7.85 7.95
    premiere e10 30 0.3 A bas 5 | tient "exo10 Q2 N(A) descend à 5, ligne" 10.2 14.1 11.85 11.95
    pente_ln e10 5 | tient "exo10 Q5 k ajusté (N(A) >= 5), s^-1" 0.139 0.185 0.1635 0.1645
    pente_ln e10 5 | awk '{ print $1, log(2) / $2 }' | tient "exo10 Q5 t1/2 = ln 2 / k, s" 3.7 5.0 4.15 4.25
fi

# Exercice 11 : dilution ; mêmes proportions, dix fois plus de particules (K = 4).
if choisie exo11; then
    for reglage in "50 2 9 15 25 21 32 29 36 29 36 33.25 33.35 2.0 6.7 2.6 6.8 4.5 4.6" \
                   "500 154 186 293 314 319 340 318 342 329 341 333.5 333.6 3.7 4.6 1.0 1.2 1.0 1.1"; do
        set -- $reglage
        n=$1
        simule e11-$n "$n $n 0 0" 80 20 500 60
        shift
        for t in 1 5 10 60; do
            a_la_date e11-$n $t C | tient "exo11 Q3-Q4 N(C) à $t s, $n A et $n B" $1 $2
            shift 2
        done
        moyenne e11-$n 50 60 1 C | tient "exo11 Q3-Q5 N(C) moyen, 50 à 60 s, $n" $1 $2 $3 $4
        qr_des_moyennes e11-$n 50 60 1 | tient "exo11 Q3-Q4 Qr des nombres moyens, $n" $5 $6
        moitie=$(( (n * 2 / 3 + 1) / 2 ))
        premiere e11-$n 20 0.2 C haut $moitie | tient "exo11 Q6 t1/2 (N(C) atteint $moitie), $n" $7 $8 $9 ${10}
    done
fi

# Exercice 12 : fluctuations d'un mélange à l'équilibre (K = 1) selon N ;
# lignes de 0 à 90 s (une par seconde).
if choisie exo12; then
    for reglage in "5 2 5 5 7 20 60 0.06 1.0 1.0 5.5 4.0 5.9 0.47 1.92 6.6 24" \
                   "25 19 23 27 32 12 28 0.37 0.73 1.37 3.2 23.5 26.0 0.78 1.17 4.7 9.4" \
                   "250 230 243 257 268 3.6 8.0 0.72 0.90 1.11 1.34 248 252 0.97 1.04 1.3 2.5"; do
        set -- $reglage
        n=$1 tot=$(($1 * 4))
        simule e12-$n "$n $n $n $n" 50 50 500 90
        extreme e12-$n 0 90 1 C min | tient "exo12 Q2-Q3 N(C) le plus petit, N = $tot" $2 $3
        extreme e12-$n 0 90 1 C max | tient "exo12 Q2-Q3 N(C) le plus grand, N = $tot" $4 $5
        ecart_relatif e12-$n 0 90 1 $n | tient "exo12 Q3 écart relatif en %, N = $tot" $6 $7
        extreme e12-$n 0 90 1 Qr min | tient "exo12 Q2-Q3 Qr le plus petit, N = $tot" $8 $9
        extreme e12-$n 0 90 1 Qr max | tient "exo12 Q2-Q3 Qr le plus grand, N = $tot" ${10} ${11}
        moyenne e12-$n 0 90 1 C | tient "exo12 Q4 N(C) moyen, N = $tot" ${12} ${13}
        qr_des_moyennes e12-$n 0 90 1 | tient "exo12 Q4 Qr des nombres moyens, N = $tot" ${14} ${15}
        ecart_type_relatif e12-$n 0 90 1 | tient "exo12 Q5 écart-type relatif de N(C) en %, N = $tot" ${16} ${17}
    done
    ecart_relatif e12-25 0 90 1 25 | tient "exo12 Q5 moyenne de l'écart relatif, N = 100" - - 17.5 18.5
    ecart_relatif e12-250 0 90 1 250 | tient "exo12 Q5 moyenne de l'écart relatif, N = 1000" - - 5.45 5.55
    ecart_type_relatif e12-5 0 90 1 | tient "exo12 Q5 moyenne de l'écart-type relatif, N = 20" - - 11.5 12.5
    ecart_type_relatif e12-25 0 90 1 | tient "exo12 Q5 moyenne de l'écart-type relatif, N = 100" - - 6.65 6.75
    ecart_type_relatif e12-250 0 90 1 | tient "exo12 Q5 moyenne de l'écart-type relatif, N = 1000" - - 1.95 2.05
    simule e12-5-long "5 5 5 5" 50 50 500 600
    ecart_type_relatif e12-5-long 0 600 6 | tient "exo12 Q5 écart-type relatif, N = 20, 10 min" 12 23 16.2 16.4
fi

# L'aide : moyenne des Qr des lignes et Qr des nombres moyens sur une longue
# durée, avec peu de particules.
if choisie aide; then
    simule aide-20 "10 10 0 0" 80 20 500 1200
    qr_moyen_des_lignes aide-20 200 1200 1 | tient "aide Qr moyen des lignes, 20 particules, K = 4" - - 5.5 7
    qr_des_moyennes aide-20 200 1200 1 | tient "aide Qr des nombres moyens, 20 particules, K = 4" - - 3.9 4.1
    simule aide-20k1 "10 10 0 0" 50 50 500 1200
    qr_moyen_des_lignes aide-20k1 200 1200 1 | tient "aide Qr moyen des lignes, 20 particules, K = 1" - -
    qr_des_moyennes aide-20k1 200 1200 1 | tient "aide Qr des nombres moyens, 20 particules, K = 1" - -
fi

if [ -s "$work/echecs" ]; then
    echo "$(wc -l < "$work/echecs") fourchette(s) citée(s) ne tiennent pas :" >&2
    cat "$work/echecs" >&2
    exit 1
fi
echo "Toutes les fourchettes citées tiennent."
