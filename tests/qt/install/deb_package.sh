#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package, installs it with apt, starts the installed program on a virtual X
# server, sees its window appear, closes it with Esc and removes the package again.
# Needs root; skipped (exit 77) otherwise, or when a qup package is installed already, which
# this test will not replace.
# Usage: deb_package.sh BUILD_DIR
set -euo pipefail
build=$1
# The main window's title, as a pattern for xdotool.
title_pattern='^Quorvane Utility Program \(QUP\)$'
skip=77

if [[ $(id -u) -ne 0 ]]; then
  echo "SKIP: installing a package needs root (CI runs as root)"
  exit $skip
fi

# One package test at a time on a machine, whichever build tree it comes from.
exec 9>/tmp/qup-deb-package-test.lock
flock 9

if dpkg-query -W -f='${Status}' qup 2>/dev/null | grep -q 'install ok installed'; then
  echo "SKIP: a qup package is installed already; this test leaves it alone"
  exit $skip
fi

work=$(mktemp -d)
program=""
installed=0
cleanup() {
  [[ -n "$program" ]] && kill "$program" 2>/dev/null
  if ((installed)); then
    apt-get purge -y -qq -o DPkg::Lock::Timeout=300 qup >/dev/null || echo "could not remove qup" >&2
  fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work" >/dev/null) ||
  fail "cpack could not build the package"
debs=("$work"/qup_*.deb)
[[ -f "${debs[0]}" && ${#debs[@]} -eq 1 ]] || fail "cpack made no single qup_*.deb"
deb=${debs[0]}

depends=$(dpkg-deb -f "$deb" Depends)
depended=$(tr ',|' '\n\n' <<<"$depends" | sed 's/^ *//; s/[ (].*//')
for needed in fonts-dejavu-core qt6-qpa-plugins libqt6widgets6 libxcb1; do
  grep -qx "$needed" <<<"$depended" || fail "the package does not depend on $needed: $depends"
done
if dpkg-deb -c "$deb" | grep -E '(qup-drive|_tests?)$'; then fail "the package holds test programs"; fi

# Everything the package needs is installed already (scripts/packages.txt), so apt adds the
# package alone and removing it leaves the machine as it was.
would_add=$(apt-get install -s "$deb" 2>/dev/null | sed -n 's/^Inst \([^ ]*\).*/\1/p' | sort)
[[ "$would_add" == "qup" ]] ||
  fail "apt would install more than qup ($(echo $would_add)); run scripts/deps.sh first"
apt-get install -y -qq -o DPkg::Lock::Timeout=300 "$deb" >/dev/null
installed=1
[[ -x /usr/bin/qup ]] || fail "/usr/bin/qup is not installed"

export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
"$(dirname "$0")/../../support/on_xvfb.sh" bash -c '
  set -euo pipefail
  /usr/bin/qup &
  program=$!
  window=$(timeout 30 xdotool search --sync --name "$1" | head -n1) || {
    echo "FAIL: no window matching $1 within 30 s" >&2; kill $program; exit 1; }
  owner=$(xdotool getwindowpid "$window")
  [[ "$owner" == "$program" ]] || { echo "FAIL: the window belongs to $owner, not $program" >&2; exit 1; }
  [[ $(readlink /proc/$program/exe) == /usr/bin/qup ]] || { echo "FAIL: not the installed program" >&2; exit 1; }
  xdotool windowfocus --sync "$window" key Escape
  for _ in $(seq 100); do kill -0 $program 2>/dev/null || break; sleep 0.1; done
  if kill -0 $program 2>/dev/null; then echo "FAIL: Esc did not close the window" >&2; kill $program; exit 1; fi
  wait $program || { echo "FAIL: the program ended with status $?" >&2; exit 1; }
' check "$title_pattern" || fail "the installed program did not show and close its window"

apt-get purge -y -qq -o DPkg::Lock::Timeout=300 qup >/dev/null
installed=0
[[ ! -e /usr/bin/qup ]] || fail "/usr/bin/qup is still there after removal"
echo "the package installs, shows its window, closes and removes cleanly"
