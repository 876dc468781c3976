#!/usr/bin/env bash
# Checks a built Debian package the way a classroom machine will use it: the
# files it holds, the menu entry and software-centre description as their
# validators see them, and the installed program itself, started offscreen in
# its self-check mode, first by a pupil (the program's folder read-only), then
# by its owner (the folder writable: the hand-off file is the one file the
# program may add there).
#
#   packaging/check-package.sh build/molvane_<version>_amd64.deb
set -euo pipefail

deb="${1:?usage: check-package.sh molvane_<version>_amd64.deb}"
app_id=org.molvane.Molvane
failures=0
fail() {
  echo "ÉCHEC : $*" >&2
  failures=$((failures + 1))
}

scratch="$(mktemp -d /tmp/molvane-package.XXXXXX)"
trap 'chmod -R u+w "$scratch" 2>/dev/null; rm -rf "$scratch"' EXIT
chmod 755 "$scratch"

echo "== Contenu du paquet"
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"

root="$scratch/root"
dpkg-deb --extract "$deb" "$root"
folder="$root/usr/lib/molvane"

echo "== Disposition"
[ "$(readlink "$root/usr/bin/molvane")" = ../lib/molvane/molvane ] ||
  fail "usr/bin/molvane n'est pas le lien relatif ../lib/molvane/molvane"
[ -x "$folder/molvane" ] || fail "usr/lib/molvane/molvane manque"
[ "$(readlink "$root/usr/bin/molvane-run")" = ../lib/molvane/molvane-run ] ||
  fail "usr/bin/molvane-run n'est pas le lien relatif ../lib/molvane/molvane-run"
"$folder/molvane-run" --help | grep -q -- "--duree SECONDES" || fail "molvane-run --help ne décrit pas le programme"
# The program's folder holds the program and its batch twin: no test, benchmark or tool.
while IFS= read -r extra; do
  fail "exécutable en trop : ${extra#"$root"}"
done < <(find "$root" -type f -perm /111 ! -path "$folder/molvane" ! -path "$folder/molvane-run")
maintainer="$(dpkg-deb --field "$deb" Maintainer)"
grep -Eq '^[^<>]+ <[^<>@ ]+@[^<>@ ]+\.[a-z]+>$' <<<"$maintainer" ||
  fail "le champ Maintainer n'a pas la forme « Nom <adresse> » : $maintainer"
depends="$(dpkg-deb --field "$deb" Depends)"
for needed in libqt6widgets6 qt6-qpa-plugins fonts-liberation2 fonts-dejavu-core fonts-symbola qt6-translations-l10n libqt6sql6-sqlite; do
  grep -q "\\b$needed\\b" <<<"$depends" || fail "dépendance absente : $needed"
done
for size in 16 22 24 32 48 64 128 256 512; do
  [ -s "$root/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png" ] || fail "icône ${size}x${size} absente"
done
[ -s "$root/usr/share/icons/hicolor/scalable/apps/$app_id.svg" ] || fail "icône SVG absente"
page="$root/usr/share/molvane/web/molvane.html"
[ -s "$page" ] || fail "la page usr/share/molvane/web/molvane.html manque"
if [ -s "$page" ] && grep -Eq '<(script|link)[^>]+(src|href)="' "$page"; then
  fail "la page molvane.html charge un fichier à part"
fi

echo "== Validateurs"
desktop-file-validate "$root/usr/share/applications/$app_id.desktop" || fail "desktop-file-validate"
grep -qx "Icon=$app_id" "$root/usr/share/applications/$app_id.desktop" || fail "l'entrée de menu ne nomme pas l'icône"
appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml" || fail "appstreamcli validate"
# Each screenshot the description names is a picture the package holds, of
# the size it states.
shots=0
while read -r width height name; do
  shots=$((shots + 1))
  picture="$root/usr/share/molvane/captures/$name"
  [ -s "$picture" ] || { fail "capture nommée par la description absente du paquet : $name"; continue; }
  size="$(file -b "$picture" | grep -Eo '[0-9]+ x [0-9]+' | tr -d ' ')"
  [ "$size" = "${width}x$height" ] || fail "capture $name : $size au lieu de ${width}x$height"
done < <(sed -nE 's|.*<image[^>]* width="([0-9]+)" height="([0-9]+)">[^<]*/([^/<]+)</image>.*|\1 \2 \3|p' \
  "$root/usr/share/metainfo/$app_id.metainfo.xml")
[ "$shots" -gt 0 ] || fail "la description ne nomme aucune capture"

# One start of the installed program in self-check mode, as the given user
# (empty: the current one); prints its report and returns its status.
self_check() {
  local who="$1" home="$scratch/home-${1:-owner}"
  mkdir -p "$home/run"
  chmod 700 "$home/run"
  local -a as=()
  if [ -n "$who" ]; then
    chown -R "$who" "$home"
    as=(setpriv --reuid="$who" --regid="$who" --clear-groups)
  fi
  (cd "$home" && env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$home/run" \
    QT_QPA_PLATFORM=offscreen MOLVANE_SELF_CHECK=1 LANG=fr_FR.UTF-8 \
    timeout 120 "${as[@]}" "$root/usr/bin/molvane")
}

listing() { (cd "$folder" && find . | sort); }

echo "== Auto-contrôle, dossier du programme en lecture seule"
before="$(listing)"
if [ "$(id -u)" = 0 ]; then
  self_check 65534 || fail "auto-contrôle (utilisateur ordinaire)"
else
  chmod -R a-w "$folder"
  self_check "" || fail "auto-contrôle (dossier en lecture seule)"
  chmod -R u+w "$folder"
fi
[ "$(listing)" = "$before" ] || fail "le programme a écrit dans son dossier en lecture seule"

echo "== Auto-contrôle, dossier du programme accessible en écriture"
self_check "" || fail "auto-contrôle (propriétaire du dossier)"
added="$(comm -13 <(echo "$before") <(listing))"
[ "$added" = "./TEMPKR.TMP" ] || fail "fichiers ajoutés dans le dossier du programme : ${added:-aucun}"
# Record 2 of the hand-off file says "NON" once the program has closed.
if [ -f "$folder/TEMPKR.TMP" ]; then
  [ "$(dd if="$folder/TEMPKR.TMP" bs=1 skip=128 count=5 status=none | od -An -c | tr -d ' ')" = '003\0NON' ] ||
    fail "TEMPKR.TMP ne dit pas NON après la fermeture"
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures vérification(s) du paquet en échec" >&2
  exit 1
fi
echo "Paquet vérifié : $deb"
