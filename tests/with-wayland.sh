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
trap stop_helpers EXIT
socket=wayland-test
# Whether a window of that name shows on the X screen.
viewing() { [[ $(xwininfo -root -tree 2>/dev/null) == *"\"$1\": "* ]]; }
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
    if [[ $(mutter --help 2>&1) == *" --nested "* ]]; then
      MUTTER_DEBUG_DUMMY_MODE_SPECS=1000x720 \
        start "$log" mutter --nested --wayland --no-x11 --wayland-display=$socket
    else
      # GNOME 50's mutter nests no more: its development kit runs it as a
      # display server of its own and shows its virtual monitor, one to one,
      # in a viewer window (mutter-devkit), which forwards the pointer and
      # keys it gets to it. The picture reaches the viewer through PipeWire,
      # which must be running on the session bus first.
      start "$XDG_RUNTIME_DIR/pipewire.log" pipewire
      ready_within 30 "$started" test -S "$XDG_RUNTIME_DIR/pipewire-0" ||
        give_up "pipewire did not start" "$XDG_RUNTIME_DIR/pipewire.log"
      start "$XDG_RUNTIME_DIR/wireplumber.log" wireplumber
      start "$log" mutter --devkit --wayland --no-x11 --wayland-display=$socket
      ready_within 60 "$started" viewing "Mutter Development Kit" ||
        give_up "mutter's viewer did not show" "$log"
      # Now and then that picture lags many seconds behind the compositor
      # (a window shown 20 s late); the tests wait longer for it.
      export PHONE_FORTUNE_PICTURE_LAGS=1
    fi
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
compositor=$started
ready_within 60 "$compositor" test -S "$XDG_RUNTIME_DIR/$socket" ||
  give_up "$compositor_name did not start" "$log"
export WAYLAND_DISPLAY=$socket
status=0
"$@" || status=$?
# A compositor that ended under the command (crashed, say) is what failed it.
if ! kill -0 "$compositor" 2>/dev/null; then
  ended=0
  wait "$compositor" || ended=$?
  give_up "$compositor_name ended during the test, with status $ended" "$log"
fi
exit $status
