#!/usr/bin/env bash
# Hears the window as Orca speaks it: runs under tests/with-xvfb.sh, with
# Orca (not in the test set-up) started on the session's accessibility bus,
# and prints every line Orca sends to speech while the phone test runs and the
# panel opens and closes.
#   tests/with-xvfb.sh tests/orca-check.sh build/check/app/phone-fortune
set -euo pipefail
program=$1
log=$(mktemp)
orca --replace --debug-file="$log" -e speech >/dev/null 2>&1 &
orca=$!
sleep 8
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" &
fortune=$!
trap 'kill $fortune $orca 2>/dev/null || true' EXIT
window=$(xdotool search --sync --onlyvisible --name '^手机号码吉祥如意测算$')
sleep 3
eval "$(xdotool getwindowgeometry --shell "$window")"
at() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep 3; }
at 133 45 # the phone box
xdotool key End shift+Home BackSpace
xdotool type --delay 50 13912345678
xdotool key Return
sleep 4
at 20 186 # the link: the panel opens
at 20 186 # and closes
sleep 5
kill $fortune 2>/dev/null || true
sleep 2
kill $orca 2>/dev/null || true
sleep 1
grep -a "SPEECH OUTPUT" "$log" || { echo "orca-check.sh: no speech in Orca's log" >&2; tail -50 "$log"; }
