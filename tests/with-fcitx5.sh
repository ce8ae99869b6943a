#!/usr/bin/env bash
# Runs a command with the fcitx5 input method running on the session bus of
# with-xvfb.sh, in its pinyin mode, with settings of its own, then stops it.
# The command gets QT_IM_MODULE=fcitx for the Qt programs it starts, and
# PHONE_FORTUNE_INPUT_METHOD=fcitx5.
#   tests/with-fcitx5.sh COMMAND...
set -euo pipefail
config="${XDG_CONFIG_HOME:?run inside tests/with-xvfb.sh}/fcitx5"
mkdir -p "$config"
cat >"$config/profile" <<'PROFILE'
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=pinyin

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=pinyin
Layout=

[GroupOrder]
0=Default
PROFILE
log="$XDG_RUNTIME_DIR/fcitx5.log"
fcitx5 >"$log" 2>&1 &
im=$!
trap 'kill $im 2>/dev/null; wait $im 2>/dev/null || true' EXIT # it writes its settings as it ends
# Ready once it holds its name on the session bus.
ready() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.fcitx.Fcitx5 2>/dev/null | grep -q true
}
for _ in $(seq 300); do
  ready && break
  kill -0 "$im" 2>/dev/null || { echo "with-fcitx5.sh: fcitx5 exited:" >&2; cat "$log" >&2; exit 1; }
  sleep 0.1
done
ready || { echo "with-fcitx5.sh: fcitx5 did not start:" >&2; cat "$log" >&2; exit 1; }
export QT_IM_MODULE=fcitx PHONE_FORTUNE_INPUT_METHOD=fcitx5
"$@"
