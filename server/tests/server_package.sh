#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the packages, installs the server's with apt, checks what it holds, starts it (under
# systemd where systemd runs; else the unit's own command line, as the unit's kind of user
# with only the capability the unit grants), posts a suggestion as the program does, stops it
# and removes the package again, leaving nothing of it behind.
# Needs root; skipped (exit 77) otherwise, or when qup-suggestd is installed already, which
# this test will not replace.
# Usage: server_package.sh BUILD_DIR
set -euo pipefail
build=$1
skip=77
unit=/usr/lib/systemd/system/qup-suggestd.service

if [[ $(id -u) -ne 0 ]]; then
  echo "SKIP: installing a package needs root (CI runs as root)"
  exit $skip
fi

# One package test at a time on a machine, whichever build tree it comes from.
exec 9>/tmp/qup-deb-package-test.lock
flock 9

if dpkg-query -W -f='${Status}' qup-suggestd 2>/dev/null | grep -q 'install ok installed'; then
  echo "SKIP: a qup-suggestd package is installed already; this test leaves it alone"
  exit $skip
fi

work=$(mktemp -d)
chmod 755 "$work"  # the server's user reaches its state directory inside
server=""
installed=0
cleanup() {
  [[ -n "$server" ]] && kill "$server" 2>/dev/null
  if ((installed)); then
    apt-get purge -y -qq -o DPkg::Lock::Timeout=300 qup-suggestd >/dev/null ||
      echo "could not remove qup-suggestd" >&2
  fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# One exchange with the server: the program's request (1280 bytes: request, zero byte,
# filler), the reply's first line. Bash's /dev/tcp needs no client program.
post_as_program() {
  local port=$1 text=$2 request
  request=$(printf 'POST http://127.0.0.1/sendinfo.asp\nContent-Length:%d\n\n%s' \
    $((5 + ${#text})) "text=$text")
  exec 3<>"/dev/tcp/127.0.0.1/$port"
  { printf '%s' "$request"; head -c $((1280 - ${#request})) /dev/zero; } >&3
  timeout 10 head -n1 <&3 | tr -d '\r'
  exec 3<&-
}

# With the web calculators packaged, the installed server serves them at / from where the
# package put them, with their policy; without, its own home page. Fails with what it got.
check_home_page() {
  local port=$1 reply
  exec 3<>"/dev/tcp/127.0.0.1/$port"
  printf 'GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n' >&3
  reply=$(timeout 10 cat <&3 | tr -d '\r')
  exec 3<&-
  if ((${#site_files[@]})); then
    if ! grep -q "^Content-Security-Policy: .*'wasm-unsafe-eval'" <<<"$reply" ||
      [[ $reply != *"$(cat "$site/index.html")"* ]]; then
      fail "the installed server does not serve the packaged calculators at /:"$'\n'"$reply"
    fi
  else
    [[ $reply == *'<a href="/ViewInfo.asp">'* ]] ||
      fail "the installed server's home page is not its own:"$'\n'"$reply"
  fi
}

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work" >/dev/null) ||
  fail "cpack could not build the packages"
debs=("$work"/qup-suggestd_*.deb)
[[ -f "${debs[0]}" && ${#debs[@]} -eq 1 ]] || fail "cpack made no single qup-suggestd_*.deb"
deb=${debs[0]}
desktop=("$work"/qup_*.deb)
[[ -f "${desktop[0]}" && ${#desktop[@]} -eq 1 ]] || fail "the same run made no single qup_*.deb"
dpkg-deb -c "${desktop[0]}" | grep -q 'qup-suggestd' && fail "the desktop package holds the server"

# The web calculators go in when the build found a web build's site (QUP_WEB_SITE): its files
# of the kinds the server serves.
site=$(sed -n 's/^QUP_WEB_SITE:[A-Z]*=//p' "$build/CMakeCache.txt")
site_files=()
if [[ -n "$site" && -f "$site/index.html" ]]; then
  while IFS= read -r name; do site_files+=("usr/share/qup-suggestd/site/$name"); done < <(
    find "$site" -maxdepth 1 -type f ! -name '.*' \
      \( -name '*.html' -o -name '*.js' -o -name '*.css' -o -name '*.wasm' -o -name '*.png' \
      -o -name '*.webmanifest' \) -printf '%f\n')
fi
contents=$(dpkg-deb -c "$deb" | awk '{ print $NF }' | grep -v '/$' | sed 's|^\./||' | sort)
expected=$(printf '%s\n' usr/lib/systemd/system/qup-suggestd.service usr/sbin/qup-suggestd \
  usr/share/man/man8/qup-suggestd.8.gz usr/share/doc/qup-suggestd/copyright \
  usr/share/doc/qup-suggestd/changelog.gz "${site_files[@]}" | sort)
[[ "$contents" == "$expected" ]] ||
  fail "the package holds other files than expected:"$'\n'"$(diff <(echo "$expected") <(echo "$contents") || true)"
depends=$(dpkg-deb -f "$deb" Depends)
grep -q 'libsqlite3-0' <<<"$depends" || fail "the package does not depend on libsqlite3-0: $depends"
[[ $(dpkg-deb -f "$deb" Section) == net ]] || fail "the package's section is not net"

would_add=$(apt-get install -s "$deb" 2>/dev/null | sed -n 's/^Inst \([^ ]*\).*/\1/p' | sort)
[[ "$would_add" == "qup-suggestd" ]] ||
  fail "apt would install more than qup-suggestd ($(echo $would_add)); run scripts/deps.sh first"
apt-get install -y -qq -o DPkg::Lock::Timeout=300 "$deb" >/dev/null
installed=1
[[ -x /usr/sbin/qup-suggestd && -f $unit ]] || fail "the program or its unit is not installed"
man -w qup-suggestd >/dev/null 2>&1 || fail "man does not find qup-suggestd(8)"
if command -v systemd-analyze >/dev/null; then
  output=$(timeout 120 systemd-analyze verify "$unit" 2>&1) ||
    fail "systemd-analyze verify refuses the installed unit:"$'\n'"$output"
fi

if [[ -d /run/systemd/system ]]; then
  # Under systemd, on the unit's own port 80; a port taken already is no failure of ours.
  if ss -Hltn 'sport = :80' 2>/dev/null | grep -q .; then
    echo "SKIP: port 80 is taken on this machine; the package installed and removes cleanly"
    installed=0
    apt-get purge -y -qq -o DPkg::Lock::Timeout=300 qup-suggestd >/dev/null
    exit $skip
  fi
  systemctl start qup-suggestd.service
  for _ in $(seq 100); do systemctl is-active --quiet qup-suggestd.service && break; sleep 0.1; done
  systemctl is-active --quiet qup-suggestd.service || fail "the service did not start"
  reply=""
  for _ in $(seq 50); do reply=$(post_as_program 80 packaged 2>/dev/null || true); [[ -n "$reply" ]] && break; sleep 0.1; done
  [[ "$reply" == "HTTP/1.1 200 OK" ]] || fail "the service answered '$reply' to the program's post"
  check_home_page 80
  owner=$(stat -c '%U %a' /var/lib/private/qup-suggestd/suggestions.db)
  [[ "$owner" == "qup-suggestd 600" ]] || fail "the database is '$owner', not the service's alone"
  systemctl stop qup-suggestd.service
  journalctl -u qup-suggestd.service --no-pager | grep -q 'stored #1' ||
    fail "the post is not in the journal"
  echo "the service started under systemd, stored a suggestion and stopped"
  under_systemd=1
else
  # No systemd here (a container): the unit's own command line, with the operator's options
  # for a free port and a scratch state directory, as an unprivileged user holding only
  # CAP_NET_BIND_SERVICE, under the unit's umask.
  command=$(sed -n 's/^ExecStart=//p' "$unit")
  state=$work/state
  mkdir -m 700 "$state"
  chown nobody:nogroup "$state"
  export QUP_SUGGESTD_OPTIONS="--listen 127.0.0.1:0 --db $state/suggestions.db"
  command=${command//\$QUP_SUGGESTD_OPTIONS/$QUP_SUGGESTD_OPTIONS}
  [[ "$command" == /usr/sbin/qup-suggestd\ * ]] || fail "the unit starts '$command'"
  (umask 0077 && exec setpriv --reuid=nobody --regid=nogroup --clear-groups \
    --inh-caps=+net_bind_service --ambient-caps=+net_bind_service --no-new-privs \
    $command >"$work/out" 2>"$work/log") &
  server=$!
  for _ in $(seq 100); do grep -q listening "$work/out" 2>/dev/null && break; sleep 0.1; done
  port=$(sed -n 's|.*http://127.0.0.1:\([0-9]*\)/.*|\1|p' "$work/out")
  [[ -n "$port" ]] || fail "the server did not start: $(cat "$work/log")"
  reply=$(post_as_program "$port" packaged)
  [[ "$reply" == "HTTP/1.1 200 OK" ]] || fail "the server answered '$reply' to the program's post"
  check_home_page "$port"
  kill -TERM "$server"
  wait "$server" || fail "the server ended with status $? on SIGTERM"
  server=""
  owner=$(stat -c '%U %a' "$state/suggestions.db")
  [[ "$owner" == "nobody 600" ]] || fail "the database is '$owner', not the server user's alone"
  grep -q 'stored #1' "$work/log" || fail "the post is not in the log: $(cat "$work/log")"
  under_systemd=0
fi

apt-get purge -y -qq -o DPkg::Lock::Timeout=300 qup-suggestd >/dev/null
installed=0
for path in /usr/sbin/qup-suggestd "$unit" /usr/share/man/man8/qup-suggestd.8.gz \
  /usr/share/doc/qup-suggestd /usr/share/qup-suggestd; do
  [[ ! -e "$path" ]] || fail "$path is still there after removal"
done
[[ ! -e /etc/systemd/system/multi-user.target.wants/qup-suggestd.service ]] ||
  fail "a link to the removed unit is left"
dpkg-query -W -f='${Status}' qup-suggestd 2>/dev/null | grep -q 'installed' &&
  fail "dpkg still lists qup-suggestd"
if ((!under_systemd)); then
  echo "SKIP: no running systemd here (a container?): the package installed, the unit's own"
  echo "command line served the program's post as an unprivileged user and stopped, and the"
  echo "package removed cleanly; starting it as a systemd service was not tried"
  exit $skip
fi
echo "the server package installs, serves under systemd, stops and removes cleanly"
