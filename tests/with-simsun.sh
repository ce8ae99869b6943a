#!/usr/bin/env bash
# Runs each test program given on a desktop that also has a face named SimSun,
# as many Chinese users' desktops have: the free Song face of this project's
# design, renamed SimSun with fontforge, in a private fontconfig set-up that
# otherwise holds the system's fonts. The window then draws with that face
# (EXPECTED_SONG_FACE tells the tests so, and they check it).
#   tests/with-simsun.sh TEST_PROGRAM...
set -euo pipefail
work=$(mktemp -d "${TMPDIR:-/tmp}/phone-fortune-simsun.XXXXXX")
trap 'rm -rf "$work"' EXIT

mkdir "$work/fonts"
fontforge -quiet -lang=ff -c '
  Open($1)
  SetFontNames("SimSun", "SimSun", "SimSun")
  SetTTFName(0x409, 1, "SimSun"); SetTTFName(0x409, 4, "SimSun")
  SetTTFName(0x804, 1, "SimSun"); SetTTFName(0x804, 4, "SimSun")
  Generate($2, "ttf")' \
  "/usr/share/fonts/truetype/arphic/uming.ttc(AR PL UMing CN)" "$work/fonts/simsun.ttf" 2>/dev/null
cat >"$work/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <dir>$work/fonts</dir>
  <cachedir>$work/cache</cachedir>
</fontconfig>
CONF
if [ "$(FONTCONFIG_FILE=$work/fonts.conf fc-match --format '%{family}' SimSun)" != SimSun ]; then
  echo "with-simsun: the renamed face is not found as SimSun" >&2
  exit 1
fi

export FONTCONFIG_FILE=$work/fonts.conf EXPECTED_SONG_FACE=SimSun
"$(dirname "$0")/each.sh" "$@"
