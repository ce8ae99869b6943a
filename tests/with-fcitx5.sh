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
. "$(dirname "$0")/helpers.sh"
trap stop_helpers EXIT
# Waited for at exit, as every helper: it writes its settings as it ends. Ready once
# it holds its name on the session bus.
start "$log" fcitx5
ready_within 30 "$started" owns_bus_name org.fcitx.Fcitx5 || give_up "fcitx5 did not start" "$log"
export QT_IM_MODULE=fcitx PHONE_FORTUNE_INPUT_METHOD=fcitx5
"$@"
