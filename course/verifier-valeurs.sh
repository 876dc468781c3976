#!/bin/sh
# Relance les simulations d'où viennent les valeurs citées dans les corrigés.
# Chaque série est simulée pour les graines 1 à 10 (GRAINES pour en changer),
# toutes en même temps par molvane-run --graines, comme la fenêtre le ferait
# avec le même fichier de configuration : le simulateur tire ses nombres au
# hasard, les corrigés donnent donc des fourchettes (minimum-maximum sur les
# lancements). Une date d'une ligne du tableau est le nombre de pas de 0,1 s
# simulés : la ligne de la date t est celle du pas 10 t du fichier CSV.
#   course/verifier-valeurs.sh [série...]    (sans argument : toutes)
#   RUN=autre/molvane-run GRAINES=1-3 course/verifier-valeurs.sh exo2
# Le résultat des séries qui ont servi aux corrigés est gardé dans
# course/valeurs-mesurees.txt.
set -eu
cd "$(dirname "$0")/.."
RUN=${RUN:-build/bin/molvane-run}
GRAINES=${GRAINES:-1-10}
[ -x "$RUN" ] || { echo "compiler d'abord : cmake --build build --target molvane-run" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# enregistrement TEXTE : un enregistrement de 128 octets du fichier de
# configuration (sa longueur sur 16 bits, le texte, des zéros).
enregistrement() {
    printf "\\$(printf %03o ${#1})\\000%s" "$1"
    head -c $((126 - ${#1})) /dev/zero
}

# Réglages de la série en cours : état initial, pourcentages, température,
# écrits dans le fichier de configuration que molvane-run lira. Les barres
# des pourcentages sont graduées de haut en bas (position 100 - pourcentage).
reglages() {
    counts=$1 s1=$2 s2=$3 temp=$4
    echo "== $nom : état initial $counts, sens 1 $s1 %, sens 2 $s2 %, température $temp"
    for valeur in MOLVANE $counts $((100 - s1)) $((100 - s2)) "$temp" \
                  16711680 16711935 33023 49152 11 60 1 0 1 1 1 1 1 1; do
        enregistrement "$valeur"
    done > "$work/serie.C11"
}

# lignes FIN : pour chaque graine, une ligne « graine pas A B C D » pour chaque
# pas de 0 à 10 FIN. Les pas d'une simulation ne dépendent pas de sa durée :
# simuler jusqu'à FIN donne aussi toutes les dates plus courtes.
lignes() {
    rm -f "$work"/sortie-graine*.csv
    "$RUN" "$work/serie.C11" --duree "$1" --graines "$GRAINES" --format python \
        --sortie "$work/sortie.csv" > /dev/null
    for f in "$work"/sortie-graine*.csv; do
        g=${f##*-graine}
        awk -F, -v g="${g%.csv}" 'NR > 1 { print g, NR - 2, $2, $3, $4, $5 }' "$f"
    done
}

# dates DEBUT FIN PAS : les dates des lignes lues.
dates() {
    awk -v a="$1" -v b="$2" -v p="$3" 'BEGIN { for (t = a; t <= b; t += p) print t }'
}

# plus_grande NOMBRE... : le plus grand des nombres.
plus_grande() {
    printf '%s\n' "$@" | sort -n | tail -1
}

# a_la_date SECONDES... : pour chaque date, nombres de A, B, C, D et Qr de la
# ligne, puis Qr moyen sur la seconde moitié des pas jusqu'à cette date (tous
# les pas, pas seulement les lignes du tableau).
a_la_date() {
    lignes "$(plus_grande "$@")" | awk -v dates="$*" '
        BEGIN { n = split(dates, d, " ") }
        { k = $2; a = $3; b = $4; c = $5; e = $6
          q = (a > 0 && b > 0) ? (c / a) * (e / b) : -1
          for (j = 1; j <= n; j++) {
              fin = d[j] * 10
              if (k > fin / 2 && k <= fin && q >= 0) { sq[$1, j] += q; nq[$1, j]++ }
              if (k == fin) { ligne[$1, j] = a " " b " " c " " e " " q; graines[$1] = 1 } } }
        END { for (j = 1; j <= n; j++) {
                  runs = 0; tot = 0
                  for (g in graines) {
                      split(ligne[g, j], v, " ")
                      v[6] = nq[g, j] ? sq[g, j] / nq[g, j] : -1
                      for (i = 1; i <= 6; i++) {
                          if (!runs || v[i] < lo[i]) lo[i] = v[i]
                          if (!runs || v[i] > hi[i]) hi[i] = v[i] }
                      tot += v[6]; runs++ }
                  printf "t = %4d s  A %3d-%3d  B %3d-%3d  C %3d-%3d  D %3d-%3d  Qr de la ligne %.2f-%.2f  Qr moyen %.2f-%.2f (moyenne %.2f)\n",
                         d[j], lo[1], hi[1], lo[2], hi[2], lo[3], hi[3], lo[4], hi[4], lo[5], hi[5], lo[6], hi[6], tot / runs } }'
}

# serie FIN PAS : pour chaque lancement, une ligne « graine date A B C D »
# toutes les PAS secondes jusqu'à FIN, comme les lignes d'un tableau.
serie() {
    lignes "$1" | awk -v p="$2" '$2 > 0 && $2 % (p * 10) == 0 { print $1, $2 / 10, $3, $4, $5, $6 }'
}

# moyenne_lignes DEBUT FIN PAS : ce que fait l'élève qui relève les lignes de
# DEBUT à FIN et en fait la moyenne. Pour chaque lancement, moyennes des
# nombres et de Qr sur ces lignes, et Qr calculé avec les nombres moyens ;
# puis Qr d'une seule ligne.
moyenne_lignes() {
    serie "$2" "$3" | awk -v a="$1" -v b="$2" -v p="$3" '
        function garde(i, v) { if (!(i in lo) || v < lo[i]) lo[i] = v; if (!(i in hi) || v > hi[i]) hi[i] = v }
        function ferme() {
            if (n == 0) return
            for (i = 3; i <= 6; i++) garde(i, s[i] / n)
            if (nq > 0) garde(7, sq / nq)
            if (s[3] > 0 && s[4] > 0) garde(9, (s[5] / s[3]) * (s[6] / s[4]))
            for (i = 3; i <= 6; i++) s[i] = 0
            n = 0; sq = 0; nq = 0 }
        $1 != graine { ferme(); graine = $1 }
        $2 >= a && (($2 - a) % p) == 0 {
          for (i = 3; i <= 6; i++) s[i] += $i
          n++
          if ($3 > 0 && $4 > 0) { q = ($5 / $3) * ($6 / $4); sq += q; nq++; garde(8, q) } }
        END { ferme()
              printf "lignes de %d à %d s (toutes les %d s), moyennes : A %.1f-%.1f  B %.1f-%.1f  C %.1f-%.1f  D %.1f-%.1f  Qr %.2f-%.2f\n",
                     a, b, p, lo[3], hi[3], lo[4], hi[4], lo[5], hi[5], lo[6], hi[6], lo[7], hi[7]
              printf "    Qr des nombres moyens %.2f-%.2f ; Qr d une ligne %.2f-%.2f\n", lo[9], hi[9], lo[8], hi[8] }'
}

# releve FIN PAS DATE... : nombres de A, B, C, D aux dates données (minimum et
# maximum sur les lancements, et nombre moyen de C).
releve() {
    fin=$1 pas=$2
    shift 2
    serie "$fin" "$pas" | awk -v dates="$*" '
        BEGIN { n = split(dates, d, " "); for (i = 1; i <= n; i++) voulue[d[i]] = 1 }
        ($2 in voulue) { somme[$2] += $5; cnt[$2]++
                  for (i = 3; i <= 6; i++) { k = $2 SUBSEP i
                  if (!(k in lo) || $i < lo[k]) lo[k] = $i; if (!(k in hi) || $i > hi[k]) hi[k] = $i } }
        END { for (j = 1; j in d; j++) { t = d[j]
                  printf "t = %4d s  A %3d-%3d  B %3d-%3d  C %3d-%3d  D %3d-%3d  (C moyen %.1f)\n", t,
                      lo[t,3], hi[t,3], lo[t,4], hi[t,4], lo[t,5], hi[t,5], lo[t,6], hi[t,6], somme[t] / cnt[t] } }'
}

# premiere_ligne FIN PAS COLONNE SENS SEUIL : première ligne où le nombre de
# la colonne (A, B, C ou D) est passé au-dessus (SENS = haut) ou au-dessous
# (SENS = bas) de SEUIL, pour chaque lancement ; minimum, maximum et moyenne.
premiere_ligne() {
    case $3 in A) col=3 ;; B) col=4 ;; C) col=5 ;; D) col=6 ;; esac
    serie "$1" "$2" | awk -v c="$col" -v sens="$4" -v seuil="$5" -v nomc="$3" '
        $1 != g { if (g != "" && !vu) jamais++; g = $1; vu = 0 }
        !vu && ((sens == "haut" && $c >= seuil) || (sens == "bas" && $c <= seuil)) {
            vu = 1; if (!n || $2 < lo) lo = $2; if (!n || $2 > hi) hi = $2; s += $2; n++ }
        END { if (g != "" && !vu) jamais++
              printf "%s %s %d : ligne de %s à %s s (moyenne %.1f s)", nomc, sens == "haut" ? "atteint" : "descend à", seuil,
                     n ? lo : "-", n ? hi : "-", n ? s / n : 0
              if (jamais) printf " (jamais pour %d lancements)", jamais
              printf "\n" }'
}

# dispersion DEBUT FIN PAS : les lignes de DEBUT à FIN (une toutes les PAS
# secondes), vues par l'élève qui cherche de combien les nombres s'écartent
# de l'équilibre. Pour chaque lancement : moyenne et écart-type du nombre de
# C, plus petit et plus grand C, plus petit et plus grand Qr des lignes (les
# lignes sans A ou sans B n'ont pas de Qr) ; puis leurs fourchettes.
# Avec ATTENDU, la valeur de C attendue à l'équilibre : l'écart relatif de
# l'énoncé, le plus grand écart entre C et ATTENDU divisé par ATTENDU.
dispersion() {
    serie "$2" "$3" | awk -v a="$1" -v b="$2" -v p="$3" -v attendu="${4:-}" '
        function garde(i, v) { if (!(i in lo) || v < lo[i]) lo[i] = v; if (!(i in hi) || v > hi[i]) hi[i] = v; tot[i] += v }
        function ferme() {
            if (!n) return
            if (attendu != "") garde("x", (attendu - cmin > cmax - attendu ? attendu - cmin : cmax - attendu) / attendu)
            m = s / n; e = sqrt(ss / n - m * m)
            garde("m", m); garde("e", e); garde("r", e / m); garde("cmin", cmin); garde("cmax", cmax)
            if (nq) { garde("qmin", qmin); garde("qmax", qmax); garde("qm", sq / nq) }
            sansqr += n - nq; runs++; n = s = ss = nq = sq = 0 }
        $1 != g { ferme(); g = $1 }
        $2 >= a && $2 <= b {
            if (!n || $5 < cmin) cmin = $5; if (!n || $5 > cmax) cmax = $5
            n++; s += $5; ss += $5 * $5
            if ($3 > 0 && $4 > 0) { q = ($5 / $3) * ($6 / $4)
                if (!nq || q < qmin) qmin = q; if (!nq || q > qmax) qmax = q; nq++; sq += q } }
        END { ferme()
              printf "lignes de %d à %d s (toutes les %d s) : C moyen %.1f-%.1f, écart-type de C %.2f-%.2f (moyenne %.2f), écart-type relatif %.3f-%.3f (moyenne %.3f)\n",
                     a, b, p, lo["m"], hi["m"], lo["e"], hi["e"], tot["e"] / runs, lo["r"], hi["r"], tot["r"] / runs
              printf "    C le plus petit %d-%d, le plus grand %d-%d ; Qr des lignes de %.2f à %.2f au plus (plus petit %.2f-%.2f, plus grand %.2f-%.2f), Qr moyen %.2f-%.2f ; lignes sans Qr : %d\n",
                     lo["cmin"], hi["cmin"], lo["cmax"], hi["cmax"], lo["qmin"], hi["qmax"], lo["qmin"], hi["qmin"], lo["qmax"], hi["qmax"], lo["qm"], hi["qm"], sansqr
              if (attendu != "") printf "    écart relatif à %d (le plus grand écart de C) %.2f-%.2f\n", attendu, lo["x"], hi["x"] }'
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

# Exercice 6 : la température change la vitesse, pas l'état final. Le tableau
# a une ligne toutes les 2 s.
if choisie exo6; then
    for temperature in 200 800; do
        reglages "100 100 0 0" 80 20 "$temperature"
        a_la_date 4 10 20 30 60 120
        premiere_ligne 120 2 C haut 60
        premiere_ligne 120 2 C haut 33
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

# Exercice 4 : un équilibre perturbé par un ajout de A (K = 4).
if choisie exo4; then
    reglages "33 33 67 67" 80 20 500
    dispersion 0 60 1
    reglages "133 33 67 67" 80 20 500
    releve 60 1 1 2 5 10 20 30 60
    moyenne_lignes 40 60 1
fi

# Exercice 7 : même constante K = 2, pourcentages quatre fois plus petits.
if choisie exo7; then
    for couple in "80 40" "20 10"; do
        reglages "100 100 0 0" $couple 500
        releve 120 2 2 4 10 20 40 60 120
        premiere_ligne 120 2 C haut 29
        premiere_ligne 120 2 C haut 50
        moyenne_lignes 100 120 2
    done
fi

# Exercice 8 : réaction totale (0 % dans le sens 2) ; temps de demi-réaction
# pour plusieurs états initiaux, puis B en grand excès.
if choisie exo8; then
    for n in 50 100 200; do
        reglages "$n $n 0 0" 100 0 500
        releve 60 1 1 2 5
        premiere_ligne 60 1 C haut "$((n / 2))"
    done
    reglages "100 50 0 0" 100 0 500
    releve 60 1 1 2
    reglages "20 200 0 0" 20 0 500
    releve 60 1 5 10 15 20 30
    premiere_ligne 60 1 A bas 10
    premiere_ligne 60 1 A bas 5
fi

# Exercice 9 : mêmes proportions, dix fois plus de particules (K = 4).
if choisie exo9; then
    for n in 50 500; do
        reglages "$n $n 0 0" 80 20 500
        releve 60 1 1 2 5 10 20 60
        premiere_ligne 60 1 C haut "$((n / 3))"
        moyenne_lignes 50 60 1
    done
fi

# Exercice 10 : fluctuations à l'équilibre (K = 1) selon le nombre de particules.
if choisie exo10; then
    for n in 10 50 500; do
        reglages "$n $n 0 0" 50 50 500
        dispersion 30 90 1 "$((n / 2))"
    done
fi
