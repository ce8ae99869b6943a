#!/usr/bin/env bash
# Runs the README's test command (scripts/test.sh, with any arguments given
# after the release) inside another Debian release, beside the Debian 12 this
# machine runs:
#   scripts/debian.sh RELEASE [check|asan]
#   scripts/debian.sh RELEASE --run COMMAND...   any command there instead, in
#                                                the checkout, to look into a
#                                                failure
# RELEASE is one of scripts/releases.sh's (CI runs 13 and 14, beside this
# machine's own 12). Each release's own build of the Debian package, and its
# installation there, are scripts/package.sh's.
# Each release is a minimal system made with debootstrap from Debian's archive
# into a folder that is kept and used again: only the first run, and the first
# after it grows stale (a week old, or made by another recipe), waits for it to
# be made. The working tree is copied in, build folder kept, so a second run
# rebuilds only what changed. Needs root (or sudo), as chroot does.
# Where they are kept, and the archive, are scripts/releases.sh's.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -ne 0 ]; then
  exec sudo --preserve-env=PHONE_FORTUNE_SYSTEMS,DEBIAN_MIRROR "$0" "$@"
fi

source scripts/releases.sh
release=${1:-}
shift || true
if ! release "$release"; then
  echo "usage: scripts/debian.sh RELEASE [check|asan | --run COMMAND...]; RELEASE is one of:" \
    "$(release_numbers)" >&2
  exit 2
fi

root=$systems/debian$release
# Names how the system is made; a kept one made otherwise is made anew.
recipe="$suite $maker $served minbase $mirror v2"
stamp=.phone-fortune-recipe
log() { printf 'debian%s: %s\n' "$release" "$*" >&2; }

scripts/setup.sh releases

fresh() {
  [ -f "$root/$stamp" ] && [ "$(cat "$root/$stamp")" = "$recipe" ] &&
    [ -z "$(find "$root/$stamp" -mtime +"$max_age_days")" ]
}
# Only a folder this script made, which bears its stamp, is ever deleted: a
# folder of that name that is not one (a mistyped PHONE_FORTUNE_SYSTEMS, say)
# stops the run instead.
if ! fresh; then
  if [ -e "$root" ] && [ ! -f "$root/$stamp" ]; then
    log "$root exists and was not made by this script; move it away, or set PHONE_FORTUNE_SYSTEMS"
    exit 1
  fi
  log "making a Debian $release ($suite) system in $root"
  start=$SECONDS
  mkdir -p "$systems"
  new=$(mktemp -d "$root.new.XXXXXX")
  trap 'rm -rf "$new"' EXIT
  chmod 755 "$new" # a system's root, open to its users (apt's own among them)
  debootstrap --variant=minbase "$suite" "$new" "$mirror" \
    "/usr/share/debootstrap/scripts/$maker" >"$root.log" 2>&1 || {
    tail -20 "$root.log" >&2
    exit 1
  }
  # No service starts inside it when its package is installed.
  printf '#!/bin/sh\nexit 101\n' >"$new/usr/sbin/policy-rc.d"
  chmod 755 "$new/usr/sbin/policy-rc.d"
  if [ "$served" = testing ]; then
    # The archive may serve testing from a snapshot whose Release file is
    # past the Valid-Until date it bears, and apt then refuses the whole
    # archive. Testing changes daily and is only tried here, so its date is
    # not held against it; stable's systems keep apt's check.
    echo 'Acquire::Check-Valid-Until "false";' >"$new/etc/apt/apt.conf.d/80phone-fortune-testing"
  fi
  echo "$recipe" >"$new/$stamp"
  [ -f "$root/$stamp" ] && rm -rf "$root"
  mv "$new" "$root"
  trap - EXIT
  log "made in $((SECONDS - start)) s"
fi

# The working tree, but what git ignores, replaces the copy inside; its build
# folder stays. A file that changed is written anew, and so is newer than
# what was built from it, whatever time it bears here; one that did not is
# left alone, so that nothing is built again for it.
src="$root/src/phone-fortune"
mkdir -p "$src"
rsync --recursive --links --perms --checksum --delete \
  --exclude=/.git --exclude=/build --filter=':- .gitignore' ./ "$src/"
cp /etc/resolv.conf "$root/etc/resolv.conf"

# inside COMMAND...: runs COMMAND in the checkout inside, as root, in a mount
# namespace of its own, so the mounts go when it ends however it ends, and a
# process namespace, so nothing it starts outlives it.
inside() {
  # shellcheck disable=SC2016 # expanded by the shells inside
  unshare --mount --pid --fork --kill-child -- /bin/bash -euo pipefail -c '
    root=$1
    shift
    mount -t proc proc "$root/proc"
    mount -t sysfs sys "$root/sys"
    mount --rbind /dev "$root/dev"
    mount -t tmpfs tmpfs "$root/dev/shm"
    mount -t tmpfs tmpfs "$root/tmp"
    exec chroot "$root" /usr/bin/env -i HOME=/root TERM="${TERM:-dumb}" \
      PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
      /bin/bash -c "cd /src/phone-fortune && exec \"\$@\"" bash "$@"
  ' bash "$root" "$@"
}

if [ "${1:-}" = --run ]; then
  shift
  inside "$@"
  exit
fi

start=$SECONDS
inside scripts/test.sh "$@"
log "$(inside scripts/toolkit.sh): tests passed in $((SECONDS - start)) s"
