#!/usr/bin/env bash
# Installs the Debian packages that are not installed yet: those of scripts/packages.txt (the
# program); with --tests those of scripts/packages-test.txt too (tests, server, benchmarks,
# checks); with --windows those of scripts/packages-windows.txt too (the Windows build and Wine);
# with --web those of scripts/packages-web.txt (Emscripten and Chromium), npm where no Node.js
# package manager is installed, and the npm packages the web tests drive the browser with, as
# tests/web/package-lock.json pins them. Quick and silent when everything is there already.
# Usage: deps.sh [--tests] [--windows] [--web]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
lists=("$here/packages.txt")
web=0
for arg in "$@"; do
  case "$arg" in
    --tests) lists+=("$here/packages-test.txt") ;;
    --windows) lists+=("$here/packages-windows.txt") ;;
    --web) lists+=("$here/packages-web.txt"); web=1 ;;
    *) echo "usage: $0 [--tests] [--windows] [--web]" >&2; exit 2 ;;
  esac
done
mapfile -t wanted < <(cat "${lists[@]}" | grep -vE '^\s*(#|$)')
missing=()
for pkg in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done
# A Node.js from elsewhere may come with its own npm; Debian's is installed only without one.
if [[ $web -eq 1 ]] && ! command -v npm >/dev/null; then missing+=(npm); fi
sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
if [[ ${#missing[@]} -gt 0 ]]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
if [[ $web -eq 1 ]]; then
  web_tests=$here/../tests/web
  # Again only when the lock file has changed since the last install.
  if ! cmp -s "$web_tests/package-lock.json" "$web_tests/node_modules/.package-lock.json.installed"
  then
    (cd "$web_tests" && npm ci --no-audit --no-fund --loglevel=error)
    cp "$web_tests/package-lock.json" "$web_tests/node_modules/.package-lock.json.installed"
  fi
fi
