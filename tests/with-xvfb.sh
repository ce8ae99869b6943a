#!/usr/bin/env bash
# Runs a command on a private X server (Xvfb at 96 DPI) managed by openbox, as
# a real desktop would be, then stops both.
set -euo pipefail

work=$(mktemp -d)
lock="${TMPDIR:-/tmp}/phone-fortune-xvfb.lock"
# A server that is ending still holds its display's socket for a moment, and a
# new one given the same number would then be unreachable: servers end, like
# they start, one at a time, and the next starts only once this one is gone.
stop() {
  exec 9>"$lock"
  flock 9
  kill ${wm:-} ${server:-} 2>/dev/null || true
  wait ${server:-} 2>/dev/null || true
  rm -rf "$work"
}
trap stop EXIT
mkfifo "$work/display"
# Xvfb picks a free display and reports its number once it takes connections.
# Two that start at the same moment (CTest runs tests side by side) can both
# pick one number; the loser then exits and takes the winner's socket with it.
# So the servers of this project's tests start one at a time, and one that
# still fails to report a number is started again.
exec 9>"$lock"
flock 9
number=
for _ in 1 2 3 4 5; do
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 3>"$work/display" 9>&- \
    2>"$work/xvfb.log" &
  server=$!
  read -r number <"$work/display" || true
  [ -n "$number" ] && break
  wait "$server" 2>/dev/null || true
done
exec 9>&-
if [ -z "$number" ]; then
  echo "with-xvfb.sh: Xvfb did not start:" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi
export DISPLAY=":$number"
export XDG_RUNTIME_DIR="$work"
chmod 700 "$work"

# A window mapped before the window manager is up is never framed or focused
# by it, so wait until openbox lists its clients on the root window, however
# long a busy machine makes its start. Now and then, among servers starting
# and ending side by side, openbox finds no display at its first try: it is
# started again.
managing() { xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -q '^_NET_CLIENT_LIST(WINDOW)'; }
for _ in 1 2 3; do
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  wm=$!
  for _ in $(seq 600); do
    managing && break
    kill -0 "$wm" 2>/dev/null || break
    sleep 0.1
  done
  managing && break
done
if ! managing; then
  echo "with-xvfb.sh: openbox did not start:" >&2
  cat "$work/openbox.log" >&2
  exit 1
fi

"$@"
