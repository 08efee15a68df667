#!/usr/bin/env bash
# Plays a driver script on the Windows window: runs qup-drive.exe under 64-bit Wine with the
# script on standard input, its lines on standard output and its exit status as its own, so
# that it can stand in for qup-drive wherever a transcript is played.
#
#   scripts/drive-windows.sh < script.qup
#   scripts/drive-windows.sh --reg ARGS...   Wine's reg.exe in the same registry, e.g.
#                                            --reg query 'HKLM\Software\Kestrane\QU'
#
# The driver is $QUP_DRIVE_EXE, or build-windows-x86_64/app/drive/qup-drive.exe (under
# $QUP_WINDOWS_BUILD_ROOT if set). Wine's slow set-up is done once, in a prefix shared by every
# run, $QUP_WINE_PREFIX or build-windows-x86_64/wine (the one scripts/test-windows.sh uses).
#
# The registry belongs to $XDG_CONFIG_HOME (default ~/.config), as the settings file does on
# Linux: it lives in a small prefix of its own, $XDG_CONFIG_HOME/qup-wine/, which holds the
# registry files and borrows the shared prefix's drive C:. A new XDG_CONFIG_HOME starts without
# the program's key; the same one keeps what the program saved from one run to the next. Each
# such prefix has a wineserver of its own, so runs in parallel never share a registry. When
# XDG_CONFIG_HOME is not a folder the registry is a scratch one, thrown away at the end. Two
# runs with the same folder take turns.
#
# The window needs an X server: the one of $DISPLAY, or else an Xvfb of this script's own.
# Every wineserver and X server this script starts ends before it does; no other is touched.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

builds=${QUP_WINDOWS_BUILD_ROOT:-$root}
exe=${QUP_DRIVE_EXE:-$builds/build-windows-x86_64/app/drive/qup-drive.exe}
shared=$(realpath -m "${QUP_WINE_PREFIX:-$builds/build-windows-x86_64/wine}")
wine=/usr/lib/wine/wine64

fail() {
  echo "drive-windows.sh: $*" >&2
  exit 2
}

mode=drive
if [[ ${1-} == --reg ]]; then
  mode=reg
  shift
elif [[ ${1-} == -h || ${1-} == --help ]]; then
  sed -n '2,/^[^#]/p' "$0" | sed -e '$d' -e 's/^# \{0,1\}//'
  exit 0
fi
if [[ $mode == drive && ! -f $exe ]]; then
  fail "no driver at $exe: build the target qup-drive of the Windows build, or set QUP_DRIVE_EXE"
fi
[[ -x $wine ]] || fail "$wine is missing: scripts/deps.sh --windows installs it"

# Made by scripts/wine-prefix.sh; runs started side by side take turns at making it. Its
# messages go to standard error: standard output is the driver's.
mkdir -p "$(dirname "$shared")"
(
  flock -w 600 9 || exit 1
  "$root/scripts/wine-prefix.sh" "$shared" >&2
) 9>"$shared.lock" || fail "cannot make the Wine prefix $shared"

scratch=
xvfb_pid=
light=
finish() {
  if [[ -n $light && -d $light ]]; then
    # The driver has ended: its session's server and services go at once (waiting for them to
    # leave by themselves takes a second or two more). The server saves the registry first.
    WINEPREFIX=$light wineserver -k 2>/dev/null
    WINEPREFIX=$light timeout 30 wineserver -w 2>/dev/null
    # The server's folder in /tmp, named in the prefix, is made again on the next run: once
    # the server is gone (its socket with it), the folder and its lock file go too.
    local name folder
    name=$(cat "$light/wineserver" 2>/dev/null)
    if [[ $name =~ ^wine-[A-Za-z0-9]+$ ]]; then
      for folder in "${TMPDIR:-/tmp}/$name"/server-*; do
        [[ -d $folder && ! -e $folder/socket ]] && rm -f "$folder/lock" && rmdir "$folder"
      done
      rmdir "${TMPDIR:-/tmp}/$name" 2>/dev/null
    fi
  fi
  if [[ -n $xvfb_pid ]]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  [[ -n $scratch ]] && rm -rf "$scratch"
}
trap finish EXIT
# A run cut short (a test's time-out) ends its Wine session at once.
trap '[[ -n $light ]] && WINEPREFIX=$light wineserver -k 2>/dev/null; exit 143' TERM INT HUP

config=${XDG_CONFIG_HOME:-${HOME:?}/.config}
if [[ ! -e $config ]]; then
  mkdir -p "$config" || fail "cannot make $config"
fi
if [[ -d $config ]]; then
  light=$config/qup-wine
else
  scratch=$(mktemp -d "${TMPDIR:-/tmp}/qup-wine.XXXXXX") || fail "cannot make a scratch folder"
  light=$scratch/qup-wine
fi

# One run at a time in a registry: a second run with the same folder waits for the first.
exec 7>"$light.lock" || fail "cannot make $light.lock"
flock -w 300 7 || fail "$light stays in use by another run"

# A registry of its own: the shared prefix's registry files without the program's key, and
# the shared drive C: (Wine finds its system files there).
if [[ ! -f $light/system.reg ]]; then
  mkdir -p "$light/dosdevices" || fail "cannot make $light"
  for hive in system.reg user.reg userdef.reg; do
    awk '/^\[/ { skipping = index($0, "[Software\\\\Kestrane\\\\QU]") == 1 ||
                            index($0, "[Software\\\\Kestrane\\\\QU\\\\") == 1 }
         !skipping' "$shared/$hive" >"$light/$hive.new" || fail "cannot copy $shared/$hive"
  done
  cp "$shared/.update-timestamp" "$light/" || fail "cannot copy $shared/.update-timestamp"
  ln -sfn "$shared/drive_c" "$light/dosdevices/c:"
  ln -sfn / "$light/dosdevices/z:"
  # system.reg last: its presence says the prefix is whole.
  mv "$light/user.reg.new" "$light/user.reg"
  mv "$light/userdef.reg.new" "$light/userdef.reg"
  mv "$light/system.reg.new" "$light/system.reg"
fi

export WINEPREFIX=$light WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

if [[ $mode == reg ]]; then
  unset DISPLAY
  "$wine" reg "$@" 7>&-
  exit $?
fi

if [[ -z ${DISPLAY-} ]]; then
  # Xvfb picks a free display number itself and writes it to the descriptor.
  display_file=$(mktemp "${TMPDIR:-/tmp}/qup-xvfb.XXXXXX")
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" </dev/null \
    >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [[ -s $display_file ]] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  number=$(head -n1 "$display_file")
  rm -f "$display_file"
  [[ -n $number ]] || fail "Xvfb did not start"
  export DISPLAY=:$number
fi

# In the background, with the script's own standard input, so that a signal to this script
# is handled at once rather than after the driver's end.
"$wine" "$exe" "$@" <&0 7>&- &
wait $!
