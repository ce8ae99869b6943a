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

openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm=$!
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.05
done

"$@"
