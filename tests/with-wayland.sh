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
    weston --backend=x11-backend.so --use-pixman --width=1280 --height=1024 --config="$config" \
      --socket=$socket --log="$log" &
    ;;
  mutter)
    MUTTER_DEBUG_DUMMY_MODE_SPECS=1000x720 \
      mutter --nested --wayland --no-x11 --wayland-display=$socket >"$log" 2>&1 &
    ;;
  kwin)
    # kwin_wayland carries a file capability that a container may refuse to
    # execute; a copy has none. It must keep its name, by which KWin finds
    # its own plugins.
    mkdir -p "$XDG_RUNTIME_DIR/kwin"
    cp /usr/bin/kwin_wayland "$XDG_RUNTIME_DIR/kwin/kwin_wayland"
    KWIN_COMPOSE=Q "$XDG_RUNTIME_DIR/kwin/kwin_wayland" --socket $socket --width 1000 --height 720 \
      --no-lockscreen >"$log" 2>&1 &
    ;;
  *)
    echo "with-wayland.sh: no compositor named $compositor_name" >&2
    exit 2
    ;;
esac
compositor=$!
trap 'kill $compositor 2>/dev/null; wait $compositor 2>/dev/null || true' EXIT
for _ in $(seq 600); do
  [ -S "$XDG_RUNTIME_DIR/$socket" ] && break
  if ! kill -0 "$compositor" 2>/dev/null; then
    echo "with-wayland.sh: $compositor_name exited at start:" >&2
    cat "$log" >&2
    exit 1
  fi
  sleep 0.1
done
[ -S "$XDG_RUNTIME_DIR/$socket" ] || { echo "with-wayland.sh: $compositor_name did not start within 60 s" >&2; exit 1; }
export WAYLAND_DISPLAY=$socket
"$@"
