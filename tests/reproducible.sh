#!/usr/bin/env bash
# Builds the Debian packages twice, as a build service builds them from the
# source package (dpkg-buildpackage), and checks that both builds made the
# same bytes.
# The two builds differ in what a package's bytes must not depend on: the
# folder the sources sit in, the sources' file times, the umask, the locale,
# the time zone and the clock of the build. On a difference, diffoscope (or,
# without it, a listing of both packages) shows where it lies. The first
# build's program package is left as OUTPUT_DIR/phone-fortune.deb, for the
# tests that look into it.
#   tests/reproducible.sh SOURCE_DIR OUTPUT_DIR
# The sources are those git knows about, with uncommitted changes, so the
# test checks the tree as it is; a tree outside git is copied whole.
set -euo pipefail
source_dir=$(realpath "$1")
output_dir=$2
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

# build NAME UMASK LOCALE TIME_ZONE FILE_TIME CLOCK: the packages in $work/NAME/
build() {
  local name=$1 mask=$2 locale=$3 zone=$4 file_time=$5 clock=$6
  local sources=$work/$name/sources
  copy_sources "$sources"
  find "$sources" -exec touch --no-dereference --date="$file_time" {} +
  (
    umask "$mask"
    export LC_ALL=$locale TZ=$zone
    unset SOURCE_DATE_EPOCH
    cd "$sources"
    # the clock only: the files keep their own times
    ${clock:+env NO_FAKE_STAT=1 faketime -f "$clock"} dpkg-buildpackage --build=binary --no-sign >../build.log 2>&1
  ) || {
    tail -n 30 "$work/$name/build.log" >&2
    exit 1
  }
}

build first 0022 C.UTF-8 UTC now ""
build second-build/in/another/folder 0002 POSIX Asia/Shanghai "2001-02-03 04:05:06" "+397d"
mkdir -p "$output_dir"
cp "$work"/first/phone-fortune_*.deb "$output_dir/phone-fortune.deb"

different=()
for deb in "$work"/first/*.deb; do
  cmp -s "$deb" "$work/second-build/in/another/folder/$(basename "$deb")" ||
    different+=("$(basename "$deb")")
done
if [ ${#different[@]} -eq 0 ]; then
  echo "reproducible: both builds made the same packages:" "$(cd "$work/first" && sha256sum ./*.deb | cut -c1-16)"
  exit 0
fi
echo "reproducible: the two builds made different packages: ${different[*]}" >&2
for deb in "${different[@]}"; do
  first=$work/first/$deb second=$work/second-build/in/another/folder/$deb
  if command -v diffoscope >/dev/null; then
    diffoscope --text - "$first" "$second" >&2 || true
  else
    diff <(dpkg-deb --contents "$first") <(dpkg-deb --contents "$second") >&2 || true
  fi
done
exit 1
