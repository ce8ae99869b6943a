#!/usr/bin/env bash
# Runs a command on a private X server (Xvfb at 96 DPI) managed by a window
# manager, as a real desktop would be, with a session bus of its own, then
# stops them all.
#   tests/with-xvfb.sh [--wm openbox|mutter|kwin|xfwm4|none] [--screen WxH] COMMAND...
# The window manager is openbox unless named: mutter (GNOME's, on X11), kwin
# (KDE Plasma's) or xfwm4 (Xfce's); none for a nested Wayland compositor,
# whose keys (Alt+F4 among them) must reach it rather than a window manager.
# The screen is 1280x1024 unless given; a wider one may be split into
# monitors by the command (xrandr --setmonitor).
set -euo pipefail
wm_name=openbox
screen=1280x1024
while [ $# -gt 0 ]; do
  case $1 in
    --wm) wm_name=$2; shift 2 ;;
    --screen) screen=$2; shift 2 ;;
    *) break ;;
  esac
done
case $wm_name in
  openbox) wm_command=(openbox --sm-disable) ;;
  mutter) wm_command=(mutter --x11 --replace) ;;
  kwin) wm_command=(kwin_x11 --replace) ;;
  xfwm4) wm_command=(xfwm4 --compositor=off --replace) ;;
  none) wm_command=() ;;
  *) echo "with-xvfb.sh: no window manager named $wm_name" >&2; exit 2 ;;
esac

work=$(mktemp -d)
lock="${TMPDIR:-/tmp}/phone-fortune-xvfb.lock"
. "$(dirname "$0")/helpers.sh"
# A server that is ending still holds its display's socket for a moment, and a
# new one given the same number would then be unreachable: servers end, like
# they start, one at a time, and the next starts only once this one is gone.
stop() {
  exec 9>"$lock"
  flock 9
  kill ${DBUS_SESSION_BUS_PID:-} 2>/dev/null || true
  stop_helpers # the window manager, then the server
  rm -rf "$work"
}
trap stop EXIT
mkfifo "$work/display"
# Xvfb picks a free display and reports its number once it takes connections.
# Two that start at the same moment (CTest runs tests side by side) can both
# pick one number; the loser then exits and takes the winner's socket with it.
# So the servers of this project's tests start one at a time, and one that
# still fails to report a number is started again. A server keeps its state
# when its last client leaves (-noreset): otherwise a passing client, such as
# dbus-launch looking at the root window, resets it, a window manager that
# connects meanwhile finds no display, and monitors set with xrandr are lost.
exec 9>"$lock"
flock 9
number=
for _ in 1 2 3 4 5; do
  Xvfb -displayfd 3 -noreset -screen 0 "${screen}x24" -dpi 96 -nolisten tcp 3>"$work/display" 9>&- \
    2>"$work/xvfb.log" &
  server=$!
  read -r number <"$work/display" || true
  [ -n "$number" ] && break
  wait "$server" 2>/dev/null || true
done
helpers+=("$server")
exec 9>&-
[ -n "$number" ] || give_up "Xvfb did not start" "$work/xvfb.log"
export DISPLAY=":$number"
export XDG_RUNTIME_DIR="$work"
chmod 700 "$work"

# Desktops talk to their parts over a session bus; this one is private.
eval "$(dbus-launch --sh-syntax)"
export XDG_CONFIG_HOME="$work/config" # the desktops' settings, fresh each time

# KWin 6 leaves its global shortcuts (Alt+F4 among them) to a daemon of their
# own, which a Plasma session starts before it; KWin 5 has them built in.
if [ "$wm_name" = kwin ]; then
  for daemon in /usr/lib/*/libexec/kglobalacceld /usr/libexec/kglobalacceld; do
    [ -x "$daemon" ] || continue
    start "$work/kglobalacceld.log" "$daemon"
    ready_within 30 "$started" owns_bus_name org.kde.kglobalaccel ||
      give_up "kglobalacceld did not start" "$work/kglobalacceld.log"
    break
  done
fi

# A window mapped before the window manager is up is never framed or focused
# by it, so wait until it names itself on the root window, however long a
# busy machine makes its start. Now and then, among servers starting and
# ending side by side, a window manager finds no display at its first try:
# it is started again.
managing() { [[ $(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null) == *"window id"* ]]; }
if [ ${#wm_command[@]} -gt 0 ]; then
  for _ in 1 2 3; do
    start "$work/wm.log" "${wm_command[@]}"
    ready_within 60 "$started" managing && break
  done
  managing || give_up "$wm_name did not start" "$work/wm.log"
fi

"$@"
