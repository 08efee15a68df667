#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package and holds it to Debian's policy as lintian reads it: no error, and
# no warning but the ones kept below, each with its reason. Also checks that the licence and
# the changelog are where the policy puts them, and that a package of a commit that is not a
# release says so in its version.
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
deb=${debs[0]}

contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for needed in ./usr/share/doc/qup/copyright ./usr/share/doc/qup/changelog.gz; do
  grep -qx "$needed" <<<"$contents" || fail "the package holds no $needed"
done
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/qup/changelog.gz | gzip -dc >"$work/changelog"
version=$(dpkg-deb -f "$deb" Version)
[[ $(head -n1 "$work/changelog") == "qup ($version) "* ]] ||
  fail "the changelog's newest entry is not version $version: $(head -n1 "$work/changelog")"
if git -C "$source" rev-parse --git-dir >/dev/null 2>&1; then
  release=$(sed -n 's/^project(qup VERSION \([0-9.]*\) .*/\1/p' "$source/CMakeLists.txt")
  if git -C "$source" describe --tags --exact-match --match "v$release" HEAD >/dev/null 2>&1; then
    expected=$release
  else
    expected=$release+git$(TZ=UTC git -C "$source" log -1 --format=%cd.%h --date=format-local:%Y%m%d)
  fi
  [[ $version == "$expected" ]] || fail "the package's version is $version, not $expected"
fi

# lintian exits non-zero for errors; the tags are read from its output either way.
lintian --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1 || true
cat "$work/lintian"
errors=$(grep -E '^E: ' "$work/lintian" || true)
[[ -z "$errors" ]] || fail "lintian reports errors:
$errors"
allowed=$(printf '%s\n' "${kept[@]}" | cut -d'|' -f1 | sed 's/ *$//')
unexpected=$(grep -E '^W: ' "$work/lintian" | awk '{print $3}' | sort -u |
  grep -vxF -f <(printf '%s\n' "$allowed") || true)
[[ -z "$unexpected" ]] || fail "lintian warns of what the package does not keep on purpose: $unexpected"
echo "lintian finds no error, and only the warnings kept on purpose"
