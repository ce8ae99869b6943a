#!/usr/bin/env bash
# Builds the Debian package twice and checks that both are the same bytes.
# The two builds differ in what a package's bytes must not depend on: the
# folder the sources sit in, the sources' file times, the umask, the locale,
# the time zone and the hour of the build. On a difference, diffoscope (or,
# without it, a listing of both packages) shows where it lies.
#   tests/reproducible.sh SOURCE_DIR
# The sources are those git knows about, with uncommitted changes, so the
# test checks the tree as it is; a tree outside git is copied whole.
set -euo pipefail
source_dir=$(realpath "$1")
work=$(mktemp -d "${TMPDIR:-/tmp}/phone-fortune-reproducible.XXXXXX")
trap 'rm -rf "$work"' EXIT

copy_sources() { # DESTINATION
  mkdir -p "$1"
  if git -C "$source_dir" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    (cd "$source_dir" && git ls-files -z --cached --others --exclude-standard \
      | tar --null --files-from=- --ignore-failed-read -cf -) | tar -xf - -C "$1"
  else
    (cd "$source_dir" && tar --exclude=./build -cf - .) | tar -xf - -C "$1"
  fi
}

# build NAME UMASK LOCALE TIME_ZONE FILE_TIME: the package in $work/NAME.deb
build() {
  local name=$1 mask=$2 locale=$3 zone=$4 file_time=$5
  local sources=$work/$name/sources
  copy_sources "$sources"
  find "$sources" -exec touch --no-dereference --date="$file_time" {} +
  (
    umask "$mask"
    export LC_ALL=$locale TZ=$zone
    unset SOURCE_DATE_EPOCH
    cd "$sources"
    cmake --preset release -DBUILD_TESTING=OFF -DPHONE_FORTUNE_BENCHMARKS=OFF >/dev/null
    cmake --build --preset release >/dev/null
    cpack --config build/release/CPackConfig.cmake -B "$work/$name/package" >/dev/null
  )
  mv "$work/$name"/package/*.deb "$work/$name.deb"
}

build first 0022 C.UTF-8 UTC "now"
build second-build/in/another/folder 0002 POSIX Asia/Shanghai "2001-02-03 04:05:06"

if cmp -s "$work/first.deb" "$work/second-build/in/another/folder.deb"; then
  echo "reproducible: both builds made the same package ($(sha256sum <"$work/first.deb" | cut -c1-16)…)"
  exit 0
fi
echo "reproducible: the two builds made different packages" >&2
if command -v diffoscope >/dev/null; then
  diffoscope --text - "$work/first.deb" "$work/second-build/in/another/folder.deb" >&2 || true
else
  diff <(dpkg-deb --contents "$work/first.deb") \
    <(dpkg-deb --contents "$work/second-build/in/another/folder.deb") >&2 || true
fi
exit 1
