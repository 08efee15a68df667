#!/usr/bin/env bash
# Runs a command on a private accessibility bus of its own: a session bus (dbus-run-session),
# a virtual X server (Xvfb), the bus launcher that screen readers and toolkits look for on the
# session bus, and the command with Qt's bridge to that bus switched on.
#   on_the_bus.sh COMMAND [ARGUMENTS...]
# Everything started here ends with the command; the command's exit status is the script's.
set -euo pipefail

if [[ ${QUP_ON_BUS_INNER:-} != 1 ]]; then
  export QUP_ON_BUS_INNER=1
  # No desktop's bus or display leaks in: the session bus and the display are the test's own.
  unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
  export XDG_RUNTIME_DIR
  XDG_RUNTIME_DIR=$(mktemp -d)
  trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
  status=0
  "$(dirname "$0")/../../support/on_xvfb.sh" dbus-run-session -- "$0" "$@" || status=$?
  exit "$status"
fi

launcher=""
for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
  if [[ -x $candidate ]]; then
    launcher=$candidate
    break
  fi
done
if [[ -z $launcher ]]; then
  echo "on_the_bus: at-spi-bus-launcher not found (Debian package at-spi2-core)" >&2
  exit 1
fi

"$launcher" --launch-immediately &
launcher_pid=$!
trap 'kill "$launcher_pid" 2>/dev/null || true; wait "$launcher_pid" 2>/dev/null || true' EXIT

# The launcher owns org.a11y.Bus once the accessibility bus is up; wait for it, bounded.
for _ in $(seq 1 100); do
  if dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
    >/dev/null 2>&1; then
    break
  fi
  sleep 0.1
done

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export QT_QPA_PLATFORM=xcb
export NO_AT_BRIDGE=0
"$@"
