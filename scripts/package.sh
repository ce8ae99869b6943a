#!/usr/bin/env bash
# Makes the source package from the working tree, and builds and checks it on
# each release as Debian's and Ubuntu's build services and CI do:
#   scripts/package.sh [RELEASE...]      RELEASE: 12, 13, 14 (default: all)
# For each release, in a throw-away system of it made from a tarball:
#   build       sbuild, with build-essential and the Build-Depends alone
#   blhc        the build log's compiler and linker flags: every hardening one
#   lintian     the .dsc, .changes and .debs, by that release's lintian
#               (-i -I --pedantic): no tag that is not overridden, say why
#   autopkgtest debian/tests against the installed package
#   piuparts    installation, purge with nothing left behind, and the upgrade
#               from the 1.0.0 package (made by CPack, before debian/ came)
# Everything lands in build/package/: the source package in source/, and each
# release's packages and logs in its own folder. Stops at the first failure.
# The tarballs, and the 1.0.0 package, are kept beside the test systems of
# scripts/debian.sh and used again for a week. Needs root (or sudo): piuparts
# does, and lintian of 13 and 14 runs in scripts/debian.sh's systems.
# Where they are kept, and the archive, are scripts/releases.sh's.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -ne 0 ]; then
  exec sudo --preserve-env=PHONE_FORTUNE_SYSTEMS,DEBIAN_MIRROR "$0" "$@"
fi
scripts/setup.sh package

source scripts/releases.sh
wanted=("$@")
[ ${#wanted[@]} -gt 0 ] || read -ra wanted <<<"$(release_numbers)"
# The last commit whose CPack package users may have installed, 1.0.0.
previous=df38dd914cf4077fcda14bbdce450ad84764eadd
out=$PWD/build/package
log() { printf 'package: %s\n' "$*" >&2; }
fail() {
  log "$1"
  [ -z "${2:-}" ] || tail -n 40 "$2" >&2
  exit 1
}
mkdir -p "$systems"

# sbuild and autopkgtest run their systems as root's user namespace, which
# needs subordinate user and group ids for root.
for file in /etc/subuid /etc/subgid; do
  grep -q '^root:' "$file" 2>/dev/null || echo 'root:100000:65536' >>"$file"
done

# The source package. The upstream tarball is the tree that git knows about,
# as it stands (uncommitted changes too), but debian/, which the Debian
# tarball carries; its files are named and dated alike in every build.
version=$(dpkg-parsechangelog -S Version)
upstream=${version%-*}
epoch=$(dpkg-parsechangelog -S Timestamp)
# sbuild takes the release its .changes names from the changelog, whichever
# release it builds in.
distribution=$(dpkg-parsechangelog -S Distribution)
rm -rf "$out"
mkdir -p "$out/source"
git ls-files -z --cached --others --exclude-standard ':!:debian' |
  tar --null --files-from=- --ignore-failed-read --sort=name --owner=0 --group=0 \
    --numeric-owner --mtime="@$epoch" --transform="s,^,phone-fortune-$upstream/," -cf - |
  xz -9 >"$out/source/phone-fortune_$upstream.orig.tar.xz"
(
  cd "$out/source"
  tar -xf "phone-fortune_$upstream.orig.tar.xz"
  cp -r "$OLDPWD/debian" "phone-fortune-$upstream/"
  dpkg-source --build "phone-fortune-$upstream" >dpkg-source.log
  rm -rf "phone-fortune-$upstream"
)
dsc=$out/source/phone-fortune_$version.dsc
log "source package $(basename "$dsc")"

# tarball SUITE: a release's buildd system (build-essential and apt), made
# anew when a week old. forky's Release file may be past its Valid-Until
# between the archive's updates of testing.
tarball() {
  local file=$systems/buildd-$1.tar recipe="$1 buildd $mirror v1"
  if [ -f "$file" ] && [ "$(cat "$file.recipe" 2>/dev/null)" = "$recipe" ] &&
    [ -n "$(find "$file" -mtime -$max_age_days)" ]; then
    echo "$file"
    return
  fi
  log "making the $1 system ($file)"
  rm -rf "$file" "$file.part" "$file.recipe"
  mmdebstrap --quiet --variant=buildd --format=tar --aptopt='Acquire::Check-Valid-Until "false"' \
    "$1" "$file.part" "$mirror" >&2
  mv "$file.part" "$file"
  echo "$recipe" >"$file.recipe"
  echo "$file"
}

# The 1.0.0 package, built once from its commit as it was built then.
previous_package() {
  local dir=$systems/phone-fortune-$previous
  if [ ! -f "$dir/phone-fortune_1.0.0_amd64.deb" ]; then
    log "building the 1.0.0 package from ${previous:0:7}"
    rm -rf "$dir"
    mkdir -p "$dir/src"
    git archive "$previous" | tar -xf - -C "$dir/src"
    (
      cd "$dir/src"
      cmake --preset release -DBUILD_TESTING=OFF -DPHONE_FORTUNE_BENCHMARKS=OFF
      cmake --build --preset release
      cpack --config build/release/CPackConfig.cmake -B "$dir/cpack"
    ) >"$dir/build.log" 2>&1 || fail "the 1.0.0 package could not be built" "$dir/build.log"
    mv "$dir"/cpack/phone-fortune_1.0.0_amd64.deb "$dir/"
    rm -rf "$dir/src" "$dir/cpack" "$dir/build.log"
  fi
  # piuparts' apt keeps its indexes compressed, and takes a compressed one
  # only.
  (cd "$dir" && dpkg-scanpackages . 2>/dev/null | xz >Packages.xz)
  echo "$dir"
}

for number in "${wanted[@]}"; do
  release "$number" || fail "no release $number (one of: $(release_numbers))"
  dir=$out/$number
  mkdir -p "$dir"
  tar=$(tarball "$suite")
  start=$SECONDS

  # A clean build, and its flags.
  (cd "$dir" && sbuild --chroot-mode=unshare --chroot="$tar" --nolog --dist="$distribution" \
    --no-run-lintian --no-run-piuparts --no-run-autopkgtest --no-source \
    "$dsc" >build.log 2>&1) || fail "debian$number: the build failed" "$dir/build.log"
  changes=$dir/phone-fortune_${version}_amd64.changes
  debs=("$dir"/*.deb)
  [ ${#debs[@]} -eq 2 ] || fail "debian$number: the build made ${#debs[@]} packages, not the program and its symbols"
  deb=$dir/phone-fortune_${version}_amd64.deb
  # CMake 3.31 and later (13, 14) show AutoMoc asking the compiler for its
  # predefined macros (c++ -dM -E on CMake's own CMakeCXXCompilerABI.cpp,
  # with -c before the file up to 3.31, without it in 4.x): a preprocessor run
  # that compiles nothing, so no hardening flag applies.
  blhc --bindnow --ignore-line '.* -dM -E (-c )?/usr/share/cmake-[0-9.]+/Modules/CMakeCXXCompilerABI\.cpp .*' \
    "$dir/build.log" >"$dir/blhc.log" 2>&1 ||
    fail "debian$number: blhc found flags missing" "$dir/blhc.log"
  log "debian$number: built, all flags ($((SECONDS - start)) s)"

  # That release's lintian: this machine's on 12, scripts/debian.sh's
  # system's on the others.
  start=$SECONDS
  # shellcheck disable=SC2054 # the commas are --fail-on's
  lintian=(lintian -i -I --pedantic --fail-on error,warning,info,pedantic)
  # One debian/ serves three releases whose lintian judges it by different
  # policies, and an override that one of them needs is unused (an I tag) or
  # unknown (E alien-tag) to another. So the tags that follow from that alone
  # are quietened here, per release:
  # - Standards-Version is the newest policy Debian 14's lintian knows, which
  #   new uploads are held to; 12's and 13's lintian predate it and say so
  #   (newer-standards-version), as for any backport, which keeps the field.
  # - Priority: optional and Rules-Requires-Root: no are what 14's policy and
  #   dpkg assume (redundant-*); 12 needs both said: its lintian warns of a
  #   missing Priority, and its dpkg builds as root without the other.
  # - debhelper compat 13 is the newest level 12's debhelper holds stable;
  #   14's lintian calls it old (package-uses-old-debhelper-compat-version).
  if [ "$number" = 14 ]; then
    lintian+=(--suppress-tags "redundant-priority-optional-field,redundant-rules-requires-root-no-field,package-uses-old-debhelper-compat-version")
  else
    lintian+=(--suppress-tags newer-standards-version)
  fi
  if [ "$number" = 12 ]; then
    "${lintian[@]}" "$dsc" "$changes" >"$dir/lintian.log" 2>&1 ||
      fail "debian$number: lintian" "$dir/lintian.log"
  else
    inside=/src/package-checks
    rm -rf "$systems/debian$number$inside"
    mkdir -p "$systems/debian$number$inside"
    cp "$out"/source/phone-fortune_* "$changes" "$dir"/*.buildinfo "${debs[@]}" "$systems/debian$number$inside/"
    scripts/debian.sh "$number" --run "${lintian[@]}" "$inside/$(basename "$dsc")" \
      "$inside/$(basename "$changes")" >"$dir/lintian.log" 2>&1 ||
      fail "debian$number: lintian" "$dir/lintian.log"
  fi
  log "debian$number: lintian has nothing to say ($((SECONDS - start)) s)"

  # The installed package's own tests.
  start=$SECONDS
  autopkgtest --quiet --apt-upgrade --output-dir="$dir/autopkgtest" "$dsc" "$deb" \
    -- unshare --release="$suite" --tarball="$tar" >"$dir/autopkgtest.log" 2>&1 ||
    fail "debian$number: autopkgtest" "$dir/autopkgtest.log"
  log "debian$number: autopkgtest passed ($((SECONDS - start)) s)"

  # Installation, purge and upgrade from 1.0.0, which an extra repository
  # in the system offers as the archive's version.
  start=$SECONDS
  repo=$(previous_package)
  chroot=$(mktemp -d "${TMPDIR:-/tmp}/phone-fortune-piuparts.XXXXXX")
  tar -xf "$tar" -C "$chroot"
  # From Debian 13 on, the installation leaves debconf's working folder behind,
  # emptied (dpkg-preconfigure's, which apt runs before it installs); Debian
  # 12's piuparts, which checks every release here, does not know that folder.
  piuparts --existing-chroot="$chroot" --distribution="$suite" --mirror="$mirror" \
    --ignore=/var/cache/debconf/tmp.ci/ \
    --bindmount="$repo" --extra-repo="deb [trusted=yes] file://$repo ./" \
    --log-file="$dir/piuparts.log" "$deb" >"$dir/piuparts.out" 2>&1 || {
    rm -rf "$chroot"
    fail "debian$number: piuparts" "$dir/piuparts.log"
  }
  rm -rf "$chroot"
  grep -q "Unpacking phone-fortune ($version) over (1.0.0)" "$dir/piuparts.log" ||
    fail "debian$number: piuparts did not upgrade from 1.0.0" "$dir/piuparts.log"
  log "debian$number: piuparts passed, with the upgrade from 1.0.0 ($((SECONDS - start)) s)"
done
