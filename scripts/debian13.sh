#!/usr/bin/env bash
# Runs the README's test command (scripts/test.sh, with any arguments given
# here) inside a Debian 13 system, beside the Debian 12 one this machine runs.
#   scripts/debian13.sh [check|asan]
#   scripts/debian13.sh --run COMMAND...   any command there instead, in the
#                                          checkout, to look into a failure
# After the tests, the Debian package built here (on Debian 12, from the
# check build) is installed there and started, as a user of Debian 13 who
# took it would, and removed again.
# The system is a minimal Debian 13 made with debootstrap from Debian's archive
# into a folder that is kept and used again: only the first run, and the first
# after it grows stale (a week old, or made by another version of this
# script), waits for it to be made. The working tree is copied in, build
# folder kept, so a second run rebuilds only what changed. Needs root (or
# sudo), as chroot does.
#   PHONE_FORTUNE_DEBIAN13   where the system is kept
#                            (default /var/cache/phone-fortune/debian13)
#   DEBIAN_MIRROR            the archive (default http://deb.debian.org/debian)
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -ne 0 ]; then
  exec sudo --preserve-env=PHONE_FORTUNE_DEBIAN13,DEBIAN_MIRROR "$0" "$@"
fi

root=${PHONE_FORTUNE_DEBIAN13:-/var/cache/phone-fortune/debian13}
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
suite=trixie
max_age_days=7
# Names how the system is made; a kept one made otherwise is made anew.
recipe="$suite minbase $mirror v1"
stamp="$root/.phone-fortune-recipe"
log() { printf 'debian13: %s\n' "$*" >&2; }

scripts/setup.sh debian13

fresh() {
  [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$recipe" ] &&
    [ -z "$(find "$stamp" -mtime +"$max_age_days")" ]
}
if ! fresh; then
  log "making a Debian 13 system in $root"
  start=$SECONDS
  rm -rf "$root" "$root.new"
  mkdir -p "$(dirname "$root")"
  debootstrap --variant=minbase "$suite" "$root.new" "$mirror" >"$root.log" 2>&1 || {
    tail -20 "$root.log" >&2
    exit 1
  }
  # No service starts inside it when its package is installed.
  printf '#!/bin/sh\nexit 101\n' >"$root.new/usr/sbin/policy-rc.d"
  chmod 755 "$root.new/usr/sbin/policy-rc.d"
  echo "$recipe" >"$root.new/.phone-fortune-recipe"
  mv "$root.new" "$root"
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
    exec chroot "$root" /usr/bin/env -i HOME=/root TERM="${TERM:-dumb}" CI="${CI:-}" \
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
log "tests passed in $((SECONDS - start)) s"

# The Debian 12 package, on Debian 13: installed with apt as a user would (it
# finds all it depends on there already), started, and removed.
start=$SECONDS
scripts/setup.sh test
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)} # a job for each core
cmake --preset check >/dev/null
cmake --build --preset check >/dev/null
rm -rf "$root/src/debian12"
cpack --config build/check/CPackConfig.cmake -B "$root/src/debian12" >/dev/null
version=$(dpkg-deb --field "$root"/src/debian12/*.deb Version)
version=${version%-*} # the program's own, without a Debian revision
# shellcheck disable=SC2016 # expanded by the shell inside
inside bash -c '
  export DEBIAN_FRONTEND=noninteractive
  apt-get install -y -qq /src/debian12/*.deb >/dev/null
  trap "dpkg --purge phone-fortune >/dev/null" EXIT
  answer=$(env -i /usr/games/phone-fortune --version 2>&1)
  if [ "$answer" != "phone-fortune $1" ]; then
    echo "debian13: the Debian 12 package answers --version with: $answer" >&2
    exit 1
  fi' bash "$version"
log "the Debian 12 package installs and starts there ($((SECONDS - start)) s)"
