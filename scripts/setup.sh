#!/usr/bin/env bash
# Installs the Debian packages phone-fortune needs, on Debian 12, 13 or 14:
#   scripts/setup.sh run        what building and running the program needs
#   scripts/setup.sh [test]     that, and what every test, benchmark and check needs
#   scripts/setup.sh releases   what making a system of another release to test
#                               in needs (scripts/debian.sh)
#   scripts/setup.sh package    what building the source package in a clean
#                               system of each release, and checking it as
#                               Debian does, needs (scripts/package.sh)
# Safe to run again and again: it only asks apt for what is missing, and when
# nothing is missing it returns at once.
set -euo pipefail

run=(
  # toolchain
  cmake g++ make
  # Qt 6 widgets (QtTest comes with them), and the X11 and Wayland platform
  # plugins the window runs on
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-wayland
  # the X11 client library, to ask the display server for the pointer's state
  pkg-config libxcb1-dev
  # Qt's own Chinese texts (standard context menus)
  qt6-translations-l10n
  # free fonts of the window's designs: a Song (Ming) face, a Kai face, URW Gothic
  fontconfig fonts-arphic-uming fonts-arphic-ukai fonts-urw-base35
)
test=(
  "${run[@]}"
  git
  # benchmarks
  libbenchmark-dev
  # the sources of the locales, to compile zh_CN's (GB2312 and GB18030) for tst_program
  locales
  # packaging and its validators; debhelper builds the package that the
  # reproducibility test builds twice
  dpkg-dev build-essential debhelper desktop-file-utils appstream
  # the faces of a Chinese desktop, thousands of them, for the start-up benchmark
  fonts-noto fonts-noto-extra fonts-noto-ui-extra fonts-noto-cjk fonts-noto-cjk-extra
  # a Chinese font of another design, for the test that runs without the above,
  # and a font editor to rename one SimSun, for the test on a desktop with SimSun
  fonts-droid-fallback fontforge-nox
  # a real X server and window manager for the desktop tests
  xvfb xauth openbox xdotool x11-utils
  # xrandr, to split the screen into monitors of different scales
  x11-xserver-utils
  # a compositor for the Wayland test
  weston
  # the desktops users run, for the end-to-end test on each: GNOME's mutter,
  # KDE Plasma's KWin (X11 and Wayland) with its own window frames, Xfce's
  # xfwm4, and a session bus
  mutter kwin-x11 kwin-wayland kwin-style-breeze xfwm4 dbus-x11
  # the input method users type Chinese with, in its pinyin mode, and its Qt 6 module
  fcitx5 fcitx5-chinese-addons fcitx5-frontend-qt6
  # a screen reader's view of the window over AT-SPI (the accessibility bus
  # and the Python bindings a screen reader uses)
  at-spi2-core python3-pyatspi
  # the Debian package's checker, man to read the manual pages, and GLib's
  # reading of desktop entries (through its Python bindings)
  lintian man-db python3-gi gir1.2-glib-2.0
  # a reproducible package: a clock moved on for the second build, and
  # diffoscope to show a difference
  faketime diffoscope-minimal
  # static analysis (scripts/analyse.sh)
  clang-tidy clazy
  # the fuzzers: clang and its libFuzzer
  clang libclang-rt-dev
)
releases=(
  # a Debian system made from Debian's archive, a private namespace to run it
  # in, and the working tree copied into it
  debootstrap util-linux rsync
)
package=(
  # the source package's tools, and Debian's checkers of a build and a package
  dpkg-dev debhelper devscripts lintian blhc
  # a throw-away system of a release, made from a tarball and run as a
  # user's namespace (mapped by newuidmap): the build in it, the installed
  # package's tests in it, and installation, upgrade and purge in it
  mmdebstrap uidmap sbuild autopkgtest piuparts
)

packages=()
desktops= # whether the desktops of the test set are wanted
for group in "${@:-test}"; do
  case $group in
    run) packages+=("${run[@]}") ;;
    test) packages+=("${test[@]}") desktops=1 ;;
    releases) packages+=("${releases[@]}") ;;
    package) packages+=("${package[@]}") ;;
    *) echo "setup: no set of packages named $group (run, test, releases or package)" >&2; exit 2 ;;
  esac
done
# What some releases need beside the desktops above. (Asked again once the
# archive's lists are fresh: a new system may have none yet.)
candidate() {
  local policy
  policy=$(apt-cache policy "$1" 2>/dev/null)
  [[ $policy == *"Candidate: "[0-9]* ]] || return 1
  policy=${policy#*Candidate: }
  echo "${policy%%$'\n'*}"
}
needed_beside() {
  [ -n "$desktops" ] || return 0
  # Since KDE Plasma 6, KWin's global shortcuts (Alt+F4 among them) need a
  # daemon packaged apart from it; earlier KWins have them built in.
  candidate kglobalacceld >/dev/null && echo kglobalacceld
  # Since GNOME 50, mutter runs on Wayland only, and not nested in another
  # desktop's window: its development kit shows its output instead, in a
  # viewer (mutter-devkit) that it streams to through PipeWire.
  local mutter
  if mutter=$(candidate mutter) && dpkg --compare-versions "$mutter" ge 50~; then
    echo mutter-dev-bin pipewire wireplumber
  fi
  return 0
}
absent() {
  local status
  status=$(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null || true)
  [ "$status" != installed ]
}

missing=()
for p in "${packages[@]}" $(needed_beside); do
  absent "$p" && missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "setup: these Debian packages are missing and neither root nor sudo is available to install them:" >&2
  echo "  ${missing[*]}" >&2
  exit 1
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
for p in $(needed_beside); do
  absent "$p" && [[ " ${missing[*]} " != *" $p "* ]] && missing+=("$p")
done
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
