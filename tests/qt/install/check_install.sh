#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the build into a scratch folder as a package would (prefix /usr) and checks what a
# desktop finds there: the menu entry and the software-centre description pass their
# validators, the entry's program and icon exist in every size, the manual page reads without
# warnings, the licence and the changelog are in the package's doc folder, and nothing else
# (the driver, the tests) is installed.
# Usage: check_install.sh BUILD_DIR
set -euo pipefail
build=$1
app_id=example.kestrane.Qup
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# The desktop's component alone: the server's files go into a package of their own.
DESTDIR=$stage cmake --install "$build" --prefix /usr --component desktop >/dev/null
root=$stage/usr

expected=(
  bin/qup
  share/applications/$app_id.desktop
  share/metainfo/$app_id.metainfo.xml
  share/icons/hicolor/scalable/apps/$app_id.svg
  share/man/man1/qup.1.gz
  share/doc/qup/copyright
  share/doc/qup/changelog.gz
)
sizes=(16 24 32 48 64 128 256)
for size in "${sizes[@]}"; do expected+=("share/icons/hicolor/${size}x${size}/apps/$app_id.png"); done
installed=$(cd "$root" && find . -type f -printf '%P\n' | sort)
wanted=$(printf '%s\n' "${expected[@]}" | sort)
[[ "$installed" == "$wanted" ]] ||
  fail "installed files differ from the expected ones:"$'\n'"$(diff <(echo "$wanted") <(echo "$installed") || true)"

desktop=$root/share/applications/$app_id.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate refuses $desktop"
appstreamcli validate --no-net "$root/share/metainfo/$app_id.metainfo.xml" ||
  fail "appstreamcli refuses the metainfo"

key() { sed -n "s/^$1=//p" "$desktop"; }
[[ -x "$root/bin/$(key Exec)" ]] || fail "the entry starts '$(key Exec)', which is not installed"
icon=$(key Icon)
[[ "$icon" == "$app_id" ]] || fail "the entry's icon '$icon' is not named after the program"
launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' \
  "$root/share/metainfo/$app_id.metainfo.xml")
[[ "$launchable" == "$app_id.desktop" ]] || fail "the metainfo launches '$launchable'"

# What software centres need and the validator takes as optional.
metainfo=$root/share/metainfo/$app_id.metainfo.xml
for element in '<component type="desktop-application">' '<content_rating type="oars-1.1"' \
  '<release version=' '<screenshot type="default">'; do
  grep -qF "$element" "$metainfo" || fail "the metainfo lacks $element"
done

# A PNG's width and height are the big-endian words at bytes 16 and 20.
for size in "${sizes[@]}"; do
  png=$root/share/icons/hicolor/${size}x${size}/apps/$icon.png
  read -r width height < <(od -An -tu1 -j16 -N8 "$png" |
    awk '{ print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }')
  [[ "$width" == "$size" && "$height" == "$size" ]] ||
    fail "the ${size}x${size} icon is ${width}x${height}"
done

warnings=$(gzip -dc "$root/share/man/man1/qup.1.gz" | groff -man -ww -z 2>&1)
[[ -z "$warnings" ]] || fail "the manual page has warnings:"$'\n'"$warnings"
echo "installed files are complete and valid"
