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

# Runs of the same root may overlap: the first mounts, the last unmounts (a count under a lock).
lock="$base/$suite.lock"
count="$base/$suite.users"
targets=(proc sys dev dev/pts src src/build)
mount_all() {
  $sudo mount -t proc proc "$root/proc"
  $sudo mount -t sysfs sys "$root/sys"
  $sudo mount --bind /dev "$root/dev"
  $sudo mount -t devpts devpts -o newinstance,ptmxmode=0666 "$root/dev/pts"
  $sudo mount --bind "$src" "$root/src"
  $sudo mount --bind "$builds" "$root/src/build"
}
unmount_all() {
  local i
  for ((i = ${#targets[@]} - 1; i >= 0; i--)); do
    ! mountpoint -q "$root/${targets[$i]}" || $sudo umount -l "$root/${targets[$i]}" || true
  done
}
leave() {
  (
    flock 9
    local n=$(($(cat "$count" 2>/dev/null || echo 1) - 1))
    if [ "$n" -le 0 ]; then unmount_all; rm -f "$count"; else echo "$n" >"$count"; fi
  ) 9>"$lock"
}
(
  flock 9
  n=$(cat "$count" 2>/dev/null || echo 0)
  # No run left its mounts: a count without them is from a run that was killed.
  mountpoint -q "$root/src/build" || n=0
  if [ "$n" -eq 0 ]; then unmount_all; mount_all; fi
  echo $((n + 1)) >"$count"
) 9>"$lock"
trap leave EXIT

# The command runs as it would on that machine: its own PATH, no tools of this one.
$sudo chroot "$root" /usr/bin/env -i HOME=/root TERM="${TERM:-dumb}" LANG=C.UTF-8 CI="${CI:-}" \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  bash -c 'cd /src && git config --global --add safe.directory /src && exec "$@"' bash "$@"
