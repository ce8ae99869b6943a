#!/usr/bin/env bash
# Runs a command on one of the desktops users run, each on a private Xvfb:
#   tests/with-desktop.sh DESKTOP [--screen WxH] COMMAND...
# DESKTOP is an X11 window manager (openbox, mutter-x11, kwin-x11, xfwm4) or a
# Wayland compositor nested in X (weston, mutter-wayland, kwin-wayland). The
# command gets its name in PHONE_FORTUNE_DESKTOP. An X11 desktop's screen
# may be of another size than 1280x1024 (see tests/with-xvfb.sh).
set -euo pipefail
here=$(dirname "$0")
export PHONE_FORTUNE_DESKTOP=$1
shift
# A desktop that this release's packages cannot run is not applicable here:
# said so, with the status CTest takes for a skipped test, never as passed.
not_applicable() {
  echo "with-desktop.sh: $PHONE_FORTUNE_DESKTOP is not applicable on this release: $1"
  exit 77
}
case $PHONE_FORTUNE_DESKTOP in
  mutter-x11)
    # GNOME 50's mutter has no X11 backend (no --x11 option) any more.
    [[ $(mutter --help 2>&1) == *" --x11 "* ]] ||
      not_applicable "its mutter $(mutter --version 2>/dev/null | sed -n '1s/^mutter //p') runs on Wayland only"
    exec "$here/with-xvfb.sh" --wm mutter "$@" ;;
  openbox | kwin-x11 | xfwm4)
    exec "$here/with-xvfb.sh" --wm "${PHONE_FORTUNE_DESKTOP%-x11}" "$@" ;;
  # Nested, GNOME's and KDE's compositors take their keys (Alt+F4 among them)
  # only with no window manager around them; weston's x11 window follows a
  # drag only inside one.
  weston)
    exec "$here/with-xvfb.sh" "$here/with-wayland.sh" weston "$@" ;;
  mutter-wayland | kwin-wayland)
    exec "$here/with-xvfb.sh" --wm none "$here/with-wayland.sh" "${PHONE_FORTUNE_DESKTOP%-wayland}" "$@" ;;
  *)
    echo "with-desktop.sh: no desktop named $PHONE_FORTUNE_DESKTOP" >&2
    exit 2 ;;
esac
