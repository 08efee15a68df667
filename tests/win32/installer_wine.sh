#!/usr/bin/env bash
# Under Wine on an X server of its own (run through on_xvfb.sh): the installer, run silently,
# puts qup.exe and the licence into Program Files, adds the Start menu entry and the entry under
# Add or Remove Programs; the installed program shows its window and closes; the uninstaller,
# run silently, removes all of that and leaves the user's settings as they were. The installer's
# window names the program at its foot; installed again elsewhere, it removes the first copy.
# Usage: installer_wine.sh WINE64 SETUP_EXE WINDOW_PROBE_EXE VERSION LICENSE. Every wait has a time-out.
set -euo pipefail
wine=$1
setup=$2
probe=$3
version=$4
license=$5
export WINEDEBUG=-all
title="Quorvane Utility Program (QUP)"
name="Quorvane Utility Program"
drive_c=${WINEPREFIX:-$HOME/.wine}/drive_c
dir="$drive_c/Program Files/$name"
menu="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/$name"
uninstall_key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$name (win64)"
# Where the installer notes its folder, beside the settings' key and not the same.
folder_key="HKLM\\Software\\Kestrane\\$name (win64)"
# The program keeps its settings under the machine's key, or the user's where that is refused.
settings_keys=("HKLM\\Software\\Kestrane\\QU" "HKCU\\Software\\Kestrane\\QU")
marker=InstallerTestKeepsThis

fail() { echo "FAIL: $*" >&2; exit 1; }
reg() { timeout 60 "$wine" reg "$@" 2>/dev/null | tr -d '\r'; }
# Waits up to $1 seconds for the command that follows to succeed.
wait_for() {
  local seconds=$1; shift
  local end=$((SECONDS + seconds))
  until "$@"; do
    ((SECONDS < end)) || return 1
    sleep 0.2
  done
}
gone() { [[ ! -e $1 ]]; }
no_key() { ! timeout 60 "$wine" reg query "$1" >/dev/null 2>&1; }
no_uninstall_entry() { no_key "$uninstall_key"; }

# The Wine session must start on this test's X server: a server of the prefix still running for
# an earlier test (whose X server is gone) is waited for, not used.
timeout 60 wineserver -w || fail "the prefix's Wine server of an earlier test did not end"

# What an earlier run that failed half-way left behind goes first.
if [[ -e $dir/Uninstall.exe ]]; then
  timeout 120 "$wine" "$dir/Uninstall.exe" /S || true
  wait_for 60 gone "$dir/Uninstall.exe" || true
  wait_for 30 no_uninstall_entry || true
fi
rm -rf "$dir" "$menu"
timeout 60 "$wine" reg delete "$uninstall_key" /f >/dev/null 2>&1 || true

# A setting of the user's in each place, which the uninstaller must leave alone; the keys are
# put back as they were when the test ends.
had=()
for key in "${settings_keys[@]}"; do
  if timeout 60 "$wine" reg query "$key" >/dev/null 2>&1; then had+=(yes); else had+=(no); fi
  reg add "$key" /v "$marker" /d kept /f >/dev/null
done
cleanup() {
  local i
  for i in "${!settings_keys[@]}"; do
    timeout 60 "$wine" reg delete "${settings_keys[$i]}" /v "$marker" /f >/dev/null 2>&1 || true
    if [[ ${had[$i]} == no ]]; then
      timeout 60 "$wine" reg delete "${settings_keys[$i]}" /f >/dev/null 2>&1 || true
    fi
  done
}
trap cleanup EXIT

# The installer's window names the program at its foot, where makensis would name itself.
"$wine" "$setup" &
installer=$!
"$wine" "$probe" text "$name Setup" "$name $version" 60 ||
  { kill "$installer"; fail "the installer's window does not show \"$name $version\""; }
kill "$installer"
timeout 30 tail --pid="$installer" -f /dev/null || fail "the installer did not end"

timeout 180 "$wine" "$setup" /S || fail "the installer failed"
for file in qup.exe LICENSE.txt Uninstall.exe; do
  [[ -f $dir/$file ]] || fail "the installer did not put $file into $dir"
done
cmp -s "$dir/LICENSE.txt" "$license" || fail "the installed licence differs"

link="$menu/$name.lnk"
[[ -f $link ]] || fail "no Start menu entry $link"
# A shell link keeps its target's path; the target's own icon is the entry's.
link_strings=$(strings -a "$link"; strings -a -el "$link")
grep -qiF "C:\\Program Files\\$name\\qup.exe" <<<"$link_strings" ||
  fail "the Start menu entry does not start the installed qup.exe: $link_strings"

no_key "$folder_key" && fail "the installer noted its folder elsewhere than $folder_key"
entry=$(reg query "$uninstall_key") || fail "no entry under Add or Remove Programs"
expect_value() {
  grep -qE "^ +$1 +REG_SZ +$2\$" <<<"$entry" || fail "the uninstall entry's $1 is not $2: $entry"
}
expect_value DisplayName "$name"
version_pattern=${version//./\\.}
expect_value DisplayVersion "${version_pattern//+/\\+}"
expect_value Publisher Kestrane
expect_value DisplayIcon 'C:\\Program Files\\'"$name"'\\qup\.exe'
expect_value UninstallString '"C:\\Program Files\\'"$name"'\\Uninstall\.exe"'
# The size Add or Remove Programs shows, in KB: at least the program's.
size=$(sed -n 's/^ *EstimatedSize *REG_DWORD *0x\([0-9a-fA-F]*\)$/\1/p' <<<"$entry")
[[ -n $size ]] || fail "the uninstall entry has no EstimatedSize: $entry"
(( 16#$size >= $(stat -c %s "$dir/qup.exe") / 1024 )) ||
  fail "the uninstall entry's EstimatedSize, $((16#$size)) KB, is less than qup.exe"

# The installed program starts and shows its window; Close on its window menu ends it.
"$wine" "$dir/qup.exe" &
program=$!
"$wine" "$probe" wait "$title" 60 || { kill "$program" 2>/dev/null; fail "the installed program showed no window"; }
"$wine" "$probe" menu "$title" || { kill "$program" 2>/dev/null; fail "no window menu to pick Close from"; }
"$wine" "$probe" gone "$title" 30 || { kill "$program" 2>/dev/null; fail "the window stayed open"; }
timeout 30 tail --pid="$program" -f /dev/null || fail "the installed program did not end"

# The uninstaller copies itself away and goes on from there: wait for its work, not for it.
timeout 120 "$wine" "$dir/Uninstall.exe" /S || fail "the uninstaller failed to start"
wait_for 60 gone "$dir" || fail "the uninstaller left $dir: $(ls -A "$dir")"
wait_for 30 gone "$menu" || fail "the uninstaller left the Start menu folder $menu"
wait_for 30 no_uninstall_entry || fail "the uninstaller left the entry under Add or Remove Programs"
no_key "$folder_key" || fail "the uninstaller left $folder_key"
for key in "${settings_keys[@]}"; do
  [[ $(reg query "$key" /v "$marker") == *kept* ]] || fail "the uninstaller removed the settings in $key"
done
# Installed into a folder of a folder the installer makes, then again elsewhere, the second
# install removes the first copy and that folder; the uninstaller of the second takes both of
# its folders away. (An installer's /D= takes no quotes, so the paths have no space.)
first="$drive_c/QupTest/Qup"
second="$drive_c/QupMoved/Qup"
rm -rf "$drive_c/QupTest" "$drive_c/QupMoved"
timeout 180 "$wine" "$setup" /S '/D=C:\QupTest\Qup' || fail "the installer failed"
[[ -f $first/qup.exe ]] || fail "the installer did not put qup.exe into $first"
timeout 180 "$wine" "$setup" /S '/D=C:\QupMoved\Qup' || fail "the second installer failed"
gone "$drive_c/QupTest" || fail "the second install left $drive_c/QupTest: $(ls -AR "$drive_c/QupTest")"
[[ -f $second/qup.exe ]] || fail "the second install did not put qup.exe into $second"
[[ $(reg query "$uninstall_key" /v UninstallString) == *'C:\QupMoved\Qup\Uninstall.exe'* ]] ||
  fail "the uninstall entry does not name the second install's uninstaller"
timeout 120 "$wine" "$second/Uninstall.exe" /S || fail "the uninstaller failed to start"
wait_for 60 gone "$drive_c/QupMoved" || fail "the uninstaller left $drive_c/QupMoved: $(ls -AR "$drive_c/QupMoved")"
wait_for 30 no_uninstall_entry || fail "the uninstaller left the entry under Add or Remove Programs"
for key in "${settings_keys[@]}"; do
  [[ $(reg query "$key" /v "$marker") == *kept* ]] || fail "the second install removed the settings in $key"
done
cleanup
trap - EXIT
# The session ends with this test's X server: the next test starts one of its own.
timeout 60 wineserver -w || fail "Wine's server did not end after the test"
echo "PASS"
