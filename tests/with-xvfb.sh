#!/usr/bin/env bash
# Runs a command on a private X server (Xvfb at 96 DPI) managed by openbox, as
# a real desktop would be, then stops both.
set -euo pipefail

work=$(mktemp -d)
trap 'kill ${wm:-} ${server:-} 2>/dev/null || true; rm -rf "$work"' EXIT
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
server=$!
read -r number <"$work/display"
export DISPLAY=":$number"
export XDG_RUNTIME_DIR="$work"
chmod 700 "$work"

# The display number comes as the server starts; wait until it also takes
# connections, which a busy machine can delay.
for _ in $(seq 600); do
  xdpyinfo >/dev/null 2>&1 && break
  if ! kill -0 "$server" 2>/dev/null; then
    echo "with-xvfb.sh: Xvfb exited at start:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
  fi
  sleep 0.1
done

openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm=$!
# A window mapped before the window manager is up is never framed or focused
# by it, so wait until openbox lists its clients on the root window, however
# long a busy machine makes its start.
managing() { xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -q '^_NET_CLIENT_LIST(WINDOW)'; }
for _ in $(seq 600); do
  managing && break
  if ! kill -0 "$wm" 2>/dev/null; then
    echo "with-xvfb.sh: openbox exited at start:" >&2
    cat "$work/openbox.log" >&2
    exit 1
  fi
  sleep 0.1
done
managing || { echo "with-xvfb.sh: openbox did not start within 60 s" >&2; exit 1; }

"$@"
