#!/usr/bin/env bash
# Runs a command beside a Wayland compositor nested in the X server of
# with-xvfb.sh (so that xdotool's input reaches it, and screenshots of the X
# screen show its output), then stops it. The command gets WAYLAND_DISPLAY
# for the programs it starts as Wayland clients.
#   tests/with-wayland.sh weston|mutter|kwin COMMAND...
# weston is the reference compositor; mutter is GNOME's and kwin KDE
# Plasma's, each as the desktop runs it.
set -euo pipefail
compositor_name=$1
shift
. "$(dirname "$0")/helpers.sh"
socket=wayland-test
log="$XDG_RUNTIME_DIR/$compositor_name.log"

case $compositor_name in
  weston)
    # A plain background, no panel. Weston draws with pixman and in a window
    # of the size of the screen: its GL output and its full-screen mode do
    # not follow the X pointer here.
    config="$XDG_RUNTIME_DIR/weston.ini"
    cat >"$config" <<'INI'
[core]
idle-time=0
[shell]
background-color=0xff204020
panel-position=none
locking=false
INI
    start "$log" weston --backend=x11-backend.so --use-pixman --width=1280 --height=1024 \
      --config="$config" --socket=$socket
    ;;
  mutter)
    MUTTER_DEBUG_DUMMY_MODE_SPECS=1000x720 \
      start "$log" mutter --nested --wayland --no-x11 --wayland-display=$socket
    ;;
  kwin)
    # kwin_wayland carries a file capability that a container may refuse to
    # execute; a copy has none. It must keep its name, by which KWin finds
    # its own plugins.
    mkdir -p "$XDG_RUNTIME_DIR/kwin"
    cp /usr/bin/kwin_wayland "$XDG_RUNTIME_DIR/kwin/kwin_wayland"
    KWIN_COMPOSE=Q start "$log" "$XDG_RUNTIME_DIR/kwin/kwin_wayland" --socket $socket \
      --width 1000 --height 720 --no-lockscreen
    ;;
  *)
    echo "with-wayland.sh: no compositor named $compositor_name" >&2
    exit 2
    ;;
esac
ready_within 60 "$started" test -S "$XDG_RUNTIME_DIR/$socket" ||
  give_up "$compositor_name did not start" "$log"
export WAYLAND_DISPLAY=$socket
"$@"
