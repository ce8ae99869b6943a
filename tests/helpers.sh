# Shared by the with-*.sh wrappers, which source it: helper programs (servers,
# window managers, compositors, daemons) started in the background, waited for
# until they are ready, and stopped, the last started first, by stop_helpers.
# Sourcing it sets no trap: each wrapper sets its own EXIT trap, which calls
# stop_helpers among whatever else it cleans up.

helpers=() helper_names=()
# How long a helper has to end once asked, before it is killed.
helper_grace=${PHONE_FORTUNE_HELPER_GRACE:-5}

# start LOG COMMAND...: starts COMMAND in the background, its output in LOG;
# its process id is then in $started.
start() {
  local log=$1
  shift
  "$@" >"$log" 2>&1 &
  started=$!
  helpers+=("$started")
  helper_names+=("${1##*/}")
}

# Stops every helper started and waits until each is gone: asked to end
# (TERM), and killed if it has not within the grace period, saying which, so
# that a hung helper never holds the test until CTest's time limit.
stop_helpers() {
  local i pid tick
  for ((i = ${#helpers[@]} - 1; i >= 0; i--)); do
    pid=${helpers[i]}
    kill "$pid" 2>/dev/null || true
    for ((tick = 0; tick < helper_grace * 10; tick++)); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
      echo "$(basename "$0"): ${helper_names[i]} (process $pid) did not end within" \
        "${helper_grace} s of being asked; killed" >&2
      kill -KILL "$pid" 2>/dev/null || true
    fi
    wait "$pid" 2>/dev/null || true
  done
  helpers=() helper_names=()
}

# ready_within SECONDS PID CHECK...: waits, however long a busy machine takes
# within SECONDS, until CHECK succeeds; fails once the helper PID has exited.
ready_within() {
  local seconds=$1 pid=$2 _
  shift 2
  for _ in $(seq $((seconds * 10))); do
    "$@" && return 0
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  "$@"
}

# give_up WHAT LOG: says what went wrong, shows the helper's log, and fails.
give_up() {
  echo "$(basename "$0"): $1:" >&2
  [ -f "$2" ] && cat "$2" >&2
  exit 1
}

# Whether a program holds NAME on the session bus. (The reply is read whole:
# grep -q, quitting at its match, could fail the pipe under pipefail.)
owns_bus_name() {
  [[ $(dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null) == *"boolean true"* ]]
}
