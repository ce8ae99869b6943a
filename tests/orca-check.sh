#!/usr/bin/env bash
# Hears the window as Orca speaks it: runs under tests/with-xvfb.sh, with
# Orca (not in the test set-up) started on the session's accessibility bus,
# and prints every line Orca sends to speech while the phone test runs and the
# panel opens and closes. Each step waits until Orca has said what it should
# (at most 30 s), and says so when it has not.
#   tests/with-xvfb.sh tests/orca-check.sh build/check/app/phone-fortune
set -euo pipefail
program=$1
. "$(dirname "$0")/helpers.sh"
log=$(mktemp)
# Orca's settings, fresh each time, as the desktops' are (with-xvfb.sh).
export XDG_DATA_HOME="$XDG_RUNTIME_DIR/data"
finish() {
  local status=$?
  stop_helpers # the program, then Orca
  grep -a "SPEECH OUTPUT" "$log" || echo "orca-check.sh: no speech in Orca's log" >&2
  rm -f "$log"
  exit $status
}
trap finish EXIT

# How many lines Orca has spoken so far.
spoken() { grep -ac "SPEECH OUTPUT" "$log" || true; }
# said AFTER TEXT: waits until Orca, past its first AFTER lines, says TEXT.
said() {
  local after=$1 text=$2 _
  for _ in $(seq 300); do
    grep -a "SPEECH OUTPUT" "$log" | tail -n +$((after + 1)) | grep -qF -- "$text" && return 0
    sleep 0.1
  done
  echo "orca-check.sh: Orca did not say \"$text\" within 30 s" >&2
  return 1
}

# Orca's speech server, started here rather than by Orca, so that it is
# stopped with the rest.
start /dev/null speech-dispatcher --run-single --timeout 0
ready_within 30 "$started" test -S "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" ||
  give_up "speech-dispatcher did not start" /dev/null
start /dev/null orca --replace --debug-file="$log" -e speech
said 0 "Screen reader on"
start /dev/null env QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program"
window=$(xdotool search --sync --onlyvisible --name '^手机号码吉祥如意测算$')
said 0 "手机号码吉祥如意测算"
# The window active, as the desktop makes it.
for _ in $(seq 300); do
  [ "$(xdotool getactivewindow 2>/dev/null)" = "$window" ] && break
  sleep 0.1
done
geometry=$(xdotool getwindowgeometry --shell "$window")
x=$(sed -n 's/^X=//p' <<<"$geometry") y=$(sed -n 's/^Y=//p' <<<"$geometry")
at() { xdotool mousemove $((x + $1)) $((y + $2)) click 1; }

at 133 45 # the phone box
before=$(spoken)
xdotool key End shift+Home
said "$before" "selected"
xdotool key BackSpace
xdotool type --delay 50 13912345678
before=$(spoken)
xdotool key Return
said "$before" "手机号码：13912345678"
before=$(spoken)
at 20 186 # the link: the panel opens
said "$before" "其它功能已打开"
before=$(spoken)
at 20 186 # and closes
said "$before" "其它功能已关闭"
