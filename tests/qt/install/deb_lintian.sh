#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian packages (the program's, and the server's when the build has it) and holds
# them to Debian's policy as lintian reads it: no error, and no warning but the ones kept below,
# each with its reason. Also checks that the licence and the changelog are where the policy
# puts them, and that a package of a commit that is not a release says so in its version.
# Usage: deb_lintian.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
skip=77
command -v lintian >/dev/null || { echo "SKIP: lintian is not installed (scripts/deps.sh --tests)"; exit $skip; }

# Warnings kept on purpose, one a line: "tag | why the package keeps it". None at present: the
# package's long description is wrapped for the control file, and the licence and changelog
# are where the policy wants them. Errors are never kept.
kept=(
)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work" >/dev/null) ||
  fail "cpack could not build the package"
debs=("$work"/qup_*.deb)
[[ -f "${debs[0]}" && ${#debs[@]} -eq 1 ]] || fail "cpack made no single qup_*.deb"
# The server's package too, when the build has the server.
servers=("$work"/qup-suggestd_*.deb)
[[ -f "${servers[0]}" ]] && debs+=("${servers[@]}")

allowed=$(printf '%s\n' "${kept[@]}" | cut -d'|' -f1 | sed 's/ *$//')
expected=''
if git -C "$source" rev-parse --git-dir >/dev/null 2>&1; then
  release=$(sed -n 's/^project(qup VERSION \([0-9.]*\) .*/\1/p' "$source/CMakeLists.txt")
  if git -C "$source" describe --tags --exact-match --match "v$release" HEAD >/dev/null 2>&1; then
    expected=$release
  else
    expected=$release+git$(TZ=UTC git -C "$source" log -1 --format=%cd.%h --date=format-local:%Y%m%d)
  fi
fi
for deb in "${debs[@]}"; do
  package=$(dpkg-deb -f "$deb" Package)
  contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
  for needed in "./usr/share/doc/$package/copyright" "./usr/share/doc/$package/changelog.gz"; do
    grep -qx "$needed" <<<"$contents" || fail "$package holds no $needed"
  done
  dpkg-deb --fsys-tarfile "$deb" | tar -xO "./usr/share/doc/$package/changelog.gz" |
    gzip -dc >"$work/changelog"
  version=$(dpkg-deb -f "$deb" Version)
  # The server shares the program's changelog.
  [[ $(head -n1 "$work/changelog") == "qup ($version) "* ]] ||
    fail "$package: the changelog's newest entry is not version $version: $(head -n1 "$work/changelog")"
  [[ -z $expected || $version == "$expected" ]] ||
    fail "$package: the version is $version, not $expected"

  # lintian exits non-zero for errors; the tags are read from its output either way.
  lintian --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1 || true
  cat "$work/lintian"
  errors=$(grep -E '^E: ' "$work/lintian" || true)
  [[ -z "$errors" ]] || fail "lintian reports errors in $package:
$errors"
  unexpected=$(grep -E '^W: ' "$work/lintian" | awk '{print $3}' | sort -u |
    grep -vxF -f <(printf '%s\n' "$allowed") || true)
  [[ -z "$unexpected" ]] || fail "lintian warns of what $package does not keep on purpose: $unexpected"
done
echo "lintian finds no error, and only the warnings kept on purpose, in ${#debs[@]} package(s)"
