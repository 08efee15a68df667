#!/usr/bin/env bash
# Runs a command on a desktop of its own with the Orca screen reader listening: a virtual X
# server, a window manager, a session bus, the accessibility bus, speech-dispatcher speaking
# through its dummy output and Orca with settings of its own, its debug log in WORK.
#   with_orca.sh WORK COMMAND [ARGUMENTS...]
# The command finds Orca's log in QUP_ORCA_LOG. Everything started here is stopped when the
# command ends, by its process id; the command's exit status is the script's. A missing tool
# skips the test (exit status 77) and says which.
set -euo pipefail

if [[ $# -lt 2 ]]; then
  echo "usage: $0 WORK COMMAND [ARGUMENTS...]" >&2
  exit 2
fi
work=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
python=/usr/bin/python3

skip() {
  echo "SKIPPED: $* is missing, so the screen reader test cannot run" >&2
  exit 77
}
for tool in Xvfb openbox dbus-daemon dbus-send speech-dispatcher xdotool; do
  command -v "$tool" >/dev/null || skip "$tool"
done
launcher=""
for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
  [[ -x $candidate ]] && launcher=$candidate && break
done
[[ -n $launcher ]] || skip "at-spi-bus-launcher (Debian package at-spi2-core)"
[[ -x /usr/lib/speech-dispatcher-modules/sd_dummy ]] ||
  skip "speech-dispatcher's dummy output module"
[[ -x $python ]] || skip "$python"
"$python" -c 'import importlib.util as u, sys; sys.exit(not all(u.find_spec(m) for m in ("orca.orca", "pyatspi", "speechd")))' 2>/dev/null ||
  skip "Orca or its Python modules (Debian packages orca, python3-pyatspi, python3-speechd)"

rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)
# Sockets and runtime files live in a short private folder: a socket path has a length limit.
runtime=$(mktemp -d /tmp/qup-orca.XXXXXX)
chmod 700 "$runtime"

pids=()
stop_all() {
  local index
  for ((index = ${#pids[@]} - 1; index >= 0; index--)); do
    kill "${pids[index]}" 2>/dev/null || true
  done
  for ((index = ${#pids[@]} - 1; index >= 0; index--)); do
    # Bounded: a process that ignores the polite signal gets the hard one after two seconds.
    for _ in $(seq 1 20); do
      kill -0 "${pids[index]}" 2>/dev/null || break
      sleep 0.1
    done
    kill -9 "${pids[index]}" 2>/dev/null || true
    wait "${pids[index]}" 2>/dev/null || true
  done
  rm -rf "$runtime"
}
trap stop_all EXIT

# Waits up to $1 tenths of a second for the command after it to succeed.
wait_until() {
  local tenths=$1
  shift
  for _ in $(seq 1 "$tenths"); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "with_orca: timed out waiting for: $*" >&2
  return 1
}

# No desktop's display, bus or speech server leaks in.
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS SESSION_MANAGER WAYLAND_DISPLAY
export XDG_RUNTIME_DIR=$runtime
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache
export HOME=$work/home
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$HOME"

# The X server picks a free display number and writes it to the descriptor given.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$runtime/display" \
  2>"$work/xvfb.log" &
pids+=($!)
wait_until 100 test -s "$runtime/display"
export DISPLAY=:$(head -n 1 "$runtime/display")

dbus-daemon --session --nofork --nopidfile --address="unix:path=$runtime/bus" \
  2>"$work/dbus.log" &
pids+=($!)
export DBUS_SESSION_BUS_ADDRESS=unix:path=$runtime/bus
wait_until 100 dbus-send --session --print-reply --dest=org.freedesktop.DBus \
  /org/freedesktop/DBus org.freedesktop.DBus.ListNames

# Without a window manager the focus does not come back to the window after a message box.
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)

"$launcher" --launch-immediately >"$work/at-spi.log" 2>&1 &
pids+=($!)
wait_until 100 dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
  org.a11y.Bus.GetAddress

# speech-dispatcher with its dummy output only, on a socket of its own.
mkdir -p "$work/speechd/modules" "$work/speechd-log"
cat >"$work/speechd/speechd.conf" <<CONF
LogLevel 3
LogDir "$work/speechd-log"
AudioOutputMethod "alsa"
AudioALSADevice "null"
AddModule "dummy" "sd_dummy" ""
DefaultModule dummy
CONF
speech-dispatcher -s -t 0 -C "$work/speechd" -c unix_socket -S "$runtime/speechd.sock" \
  >"$work/speechd.out" 2>&1 &
pids+=($!)
export SPEECHD_ADDRESS=unix_socket:$runtime/speechd.sock
wait_until 100 test -S "$runtime/speechd.sock"

# Orca: the laptop layout (Caps Lock is the Orca key), no braille, no sound, no key echo.
prefs=$work/orca
mkdir -p "$prefs"
cat >"$prefs/user-settings.conf" <<'CONF'
{
  "general": {
    "keyboardLayout": 2,
    "orcaModifierKeys": ["Caps_Lock", "Shift_Lock"],
    "enableBraille": false,
    "enableSound": false,
    "enableKeyEcho": false,
    "profile": ["Default", "default"],
    "activeProfile": ["Default", "default"],
    "startingProfile": ["Default", "default"]
  },
  "profiles": {
    "default": {
      "profile": ["Default", "default"],
      "keyboardLayout": 2,
      "orcaModifierKeys": ["Caps_Lock", "Shift_Lock"],
      "enableBraille": false,
      "enableSound": false,
      "enableKeyEcho": false
    }
  },
  "pronunciations": {},
  "keybindings": {}
}
CONF
export QUP_ORCA_LOG=$work/orca-debug.log
"$python" "$here/start_orca.py" "$prefs" "$QUP_ORCA_LOG" >"$work/orca.out" 2>&1 &
pids+=($!)
wait_until 300 grep -q "ATSPI registry initialized" "$QUP_ORCA_LOG"

export QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb
status=0
"$@" || status=$?
exit "$status"
