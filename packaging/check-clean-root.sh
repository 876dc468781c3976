#!/usr/bin/env bash
# Installs a built Debian package into a fresh, minimal Debian 12 root, the
# way a classroom machine gets it: apt pulls what the package depends on and
# nothing else is there. The installed program then runs its self-check there
# as an ordinary user, offscreen: it must succeed and write nothing on its
# standard error. Needs root and access to a Debian mirror; the root is made
# once with debootstrap and kept (MOLVANE_ROOT, by default /var/tmp/molvane-bookworm)
# so that later checks start from a copy of it.
#
#   packaging/check-clean-root.sh build/molvane_<version>_amd64.deb
set -euo pipefail

deb="$(realpath "${1:?usage: check-clean-root.sh molvane_<version>_amd64.deb}")"
base="${MOLVANE_ROOT:-/var/tmp/molvane-bookworm}"
mirror="${MOLVANE_MIRROR:-http://deb.debian.org/debian}"
[ "$(id -u)" = 0 ] || { echo "check-clean-root : à lancer en root (chroot)" >&2; exit 1; }
command -v debootstrap >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap

if [ ! -x "$base/usr/bin/apt-get" ]; then
  echo "== Racine Debian 12 minimale dans $base"
  debootstrap --variant=minbase bookworm "$base" "$mirror"
fi

root="$(mktemp -d /var/tmp/molvane-root.XXXXXX)"
cleanup() {
  for m in proc dev/pts dev; do umount "$root/$m" 2>/dev/null || true; done
  rm -rf "$root"
}
trap cleanup EXIT
cp -a "$base/." "$root/"
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
cp /etc/resolv.conf "$root/etc/resolv.conf"
cp "$deb" "$root/tmp/molvane.deb"

echo "== Installation du paquet et de ses dépendances"
chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends /tmp/molvane.deb

echo "== Auto-contrôle du programme installé (utilisateur ordinaire, sans écran)"
home=/tmp/eleve
mkdir -p "$root$home/run"
chmod 700 "$root$home/run"
chown -R 65534:65534 "$root$home"
status=0
chroot "$root" setpriv --reuid=65534 --regid=65534 --clear-groups \
  env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$home/run" LANG=C.UTF-8 \
  QT_QPA_PLATFORM=offscreen MOLVANE_SELF_CHECK=1 timeout 300 molvane \
  >"$root/tmp/out.txt" 2>"$root/tmp/err.txt" || status=$?
cat "$root/tmp/out.txt"
if [ "$status" -ne 0 ] || [ -s "$root/tmp/err.txt" ]; then
  echo "ÉCHEC : auto-contrôle (code $status), sortie d'erreur :" >&2
  cat "$root/tmp/err.txt" >&2
  exit 1
fi

echo "== Retrait du paquet"
chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq molvane
[ ! -e "$root/usr/lib/molvane" ] || { echo "ÉCHEC : /usr/lib/molvane reste après le retrait" >&2; exit 1; }
echo "Paquet vérifié dans une Debian 12 neuve : $deb"
