#!/usr/bin/env bash
# Runs a command beside a Wayland compositor: weston, nested in the X server
# of with-xvfb.sh (its x11 backend, so that xdotool's input reaches it),
# with a plain background and no panel. The command gets
# WAYLAND_DISPLAY for the programs it starts as Wayland clients. (Weston draws
# with pixman and in a window of the size of the screen: its GL output and its
# full-screen mode do not follow the X pointer here.)
set -euo pipefail

config="$XDG_RUNTIME_DIR/weston.ini"
cat >"$config" <<'INI'
[core]
idle-time=0
[shell]
background-color=0xff204020
panel-position=none
locking=false
INI
weston --backend=x11-backend.so --use-pixman --width=1280 --height=1024 --config="$config" --socket=wayland-test \
  --log="$XDG_RUNTIME_DIR/weston.log" &
compositor=$!
trap 'kill $compositor 2>/dev/null || true' EXIT
for _ in $(seq 600); do
  [ -S "$XDG_RUNTIME_DIR/wayland-test" ] && break
  if ! kill -0 "$compositor" 2>/dev/null; then
    echo "with-weston.sh: weston exited at start:" >&2
    cat "$XDG_RUNTIME_DIR/weston.log" >&2
    exit 1
  fi
  sleep 0.1
done
[ -S "$XDG_RUNTIME_DIR/wayland-test" ] || { echo "with-weston.sh: weston did not start within 60 s" >&2; exit 1; }
export WAYLAND_DISPLAY=wayland-test
"$@"
