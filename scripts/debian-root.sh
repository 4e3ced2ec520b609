#!/usr/bin/env bash
# Runs a command inside a fresh Debian of another release, made here with debootstrap, as a new
# user's machine would be: minbase, git and the CA certificates, nothing else.
# Usage: scripts/debian-root.sh SUITE [COMMAND...]   (e.g. trixie scripts/test.sh; default: a shell)
#
# The root lives in build/debian-root/SUITE and is reused while it is younger than a week
# (PCA_ROOT_DAYS), then made anew. This clone is bind-mounted at /src inside it, with a build
# folder of the root's own over /src/build, so that its builds never mix with this machine's.
# proc, sys, dev and dev/pts are mounted for the command and always unmounted after it.
set -euo pipefail
cd "$(dirname "$0")/.."
suite="${1:?usage: $0 SUITE [COMMAND...]}"
shift
[ $# -gt 0 ] || set -- bash

src="$(pwd)"
base="$src/build/debian-root"
root="$base/$suite"
builds="$base/$suite-build"
days="${PCA_ROOT_DAYS:-7}"

# The mirror this machine's apt already uses.
mirror="$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources 2>/dev/null |
          sed -nE 's/^(URIs:|deb)[[:space:]]+(\[[^]]*\][[:space:]]+)?(https?:[^[:space:]]+).*/\3/p' |
          grep -v security | head -n 1 || true)"
mirror="${mirror:-http://deb.debian.org/debian}"

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

if [ -f "$root/.made" ] && [ -z "$(find "$root/.made" -mtime +"$days")" ]; then
  echo "Debian $suite root: reusing $root"
else
  command -v debootstrap >/dev/null || {
    $sudo apt-get update -q && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q debootstrap
  }
  echo "Debian $suite root: debootstrap from $mirror into $root"
  $sudo rm -rf --one-file-system "$root" "$builds"
  mkdir -p "$base"
  $sudo debootstrap --variant=minbase --include=git,ca-certificates "$suite" "$root" "$mirror" >"$base/$suite-debootstrap.log" 2>&1 || {
    tail -n 20 "$base/$suite-debootstrap.log" >&2
    exit 1
  }
  # The registries are reached through local certificate authorities that this machine trusts:
  # the new root must trust them too, or npm cannot reach its registry.
  if compgen -G "/usr/local/share/ca-certificates/*" >/dev/null; then
    $sudo cp -r /usr/local/share/ca-certificates/. "$root/usr/local/share/ca-certificates/"
  fi
  $sudo chroot "$root" update-ca-certificates >/dev/null
  $sudo cp /etc/resolv.conf "$root/etc/resolv.conf"
  touch "$root/.made"
fi
mkdir -p "$builds" "$root/src"

mounted=()
unmount_all() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    $sudo umount -l "${mounted[$i]}" 2>/dev/null || true
  done
}
trap unmount_all EXIT
mount_at() {  # mount_at TARGET MOUNT-ARGS...
  local target="$1"
  shift
  $sudo mount "$@" "$target"
  mounted+=("$target")
}
mount_at "$root/proc" -t proc proc
mount_at "$root/sys" -t sysfs sys
mount_at "$root/dev" --bind /dev
mount_at "$root/dev/pts" -t devpts devpts -o newinstance,ptmxmode=0666
mount_at "$root/src" --bind "$src"
mount_at "$root/src/build" --bind "$builds"

# The command runs as it would on that machine: its own PATH, no tools of this one.
$sudo chroot "$root" /usr/bin/env -i HOME=/root TERM="${TERM:-dumb}" LANG=C.UTF-8 CI="${CI:-}" \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  bash -c 'cd /src && git config --global --add safe.directory /src && exec "$@"' bash "$@"
