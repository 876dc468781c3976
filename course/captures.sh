#!/bin/sh
# Refait les images des documents du cours à partir du programme lui-même,
# lancé sous un serveur X virtuel (Xvfb) : la fenêtre au démarrage, réduite à
# la largeur de la zone de texte.
#   course/captures.sh [numéro d'écran X, 99 par défaut]
# Demande xvfb et imagemagick ; le programme doit être compilé (build/bin).
set -eu
cd "$(dirname "$0")/.."
ecran=":${1:-99}"
programme=build/bin/molvane
[ -x "$programme" ] || { echo "compiler d'abord : cmake --build build --target molvane" >&2; exit 1; }
images=course/images
mkdir -p "$images"
brut=$(mktemp --suffix=.png)

Xvfb "$ecran" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
# Une copie du programme dans un dossier à part : il y écrit son fichier
# d'échange, que le dossier de compilation n'a pas à garder.
dossier=$(mktemp -d)
cp "$programme" "$dossier/"
trap 'kill "$xvfb" 2>/dev/null; rm -rf "$brut" "$dossier"' EXIT
sleep 2
DISPLAY="$ecran" "$dossier/molvane" &
molvane=$!
# Le temps que les courbes se dessinent (une dizaine de secondes simulées).
sleep 12
DISPLAY="$ecran" import -window root "$brut"
kill "$molvane"
wait "$molvane" 2>/dev/null || true

# La fenêtre fait 800 × 600 pixels, centrée sur l'écran de 1024 × 768.
convert "$brut" -crop 800x600+112+84 +repage -resize 316x "$images/fenetre.png"
echo "$images/fenetre.png"
