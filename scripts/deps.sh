#!/usr/bin/env bash
# Installs the Debian packages that are not installed yet: those of scripts/packages.txt (the
# program); with --tests those of scripts/packages-test.txt too (tests, server, benchmarks,
# checks); with --windows those of scripts/packages-windows.txt too (the Windows build and Wine).
# Quick and silent when everything is there already.
# Usage: deps.sh [--tests] [--windows]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
lists=("$here/packages.txt")
for arg in "$@"; do
  case "$arg" in
    --tests) lists+=("$here/packages-test.txt") ;;
    --windows) lists+=("$here/packages-windows.txt") ;;
    *) echo "usage: $0 [--tests] [--windows]" >&2; exit 2 ;;
  esac
done
mapfile -t wanted < <(cat "${lists[@]}" | grep -vE '^\s*(#|$)')
missing=()
for pkg in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
