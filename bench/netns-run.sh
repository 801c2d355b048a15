#!/usr/bin/env bash
# Runs one test inside a private network namespace: only loopback, a hosts file that
# maps every configured host name to 127.0.0.1, the fixture web server on ports 80
# and 88, and a wineserver of the network prefix started inside.
#   netns-run.sh WINE_ENV ROUTES_JSON -- PROGRAM [ARGS...]
# ROUTES_JSON: one routes file, several joined by ":" (later ones win), or "-" for none.
# A PROGRAM ending in .exe runs under Wine; a script that sources WINE_ENV again (such as
# with-browser.sh) stays in the network prefix. The server's record goes to
# $SUITE_BINARY_DIR/netlogs/<program name>.record.
set -euo pipefail
env_file=$1; routes=$2; shift 2
[ "${1:-}" = "--" ] && shift
if [ -z "${SUITE_IN_NETNS:-}" ]; then
  export SUITE_IN_NETNS=1
  exec unshare --net --mount -- "$0" "$env_file" "$routes" -- "$@"
fi

. "$env_file"
export WINEPREFIX="$SUITE_NET_PREFIX" WINEPREFIX_OVERRIDE="$SUITE_NET_PREFIX"
here=$(cd "$(dirname "$0")" && pwd)
name=$(basename "$1"); name=${name%.exe}
logs="$SUITE_BINARY_DIR/netlogs"; mkdir -p "$logs"
python=${SUITE_PYTHON:-python3}

ip link set lo up
# Wine's server sockets live under /tmp/.wine-UID: a private one keeps this
# namespace's wineserver apart from any other (the rest of /tmp stays visible).
wine_sockets="/tmp/.wine-$(id -u)"
mkdir -p "$wine_sockets" && chmod 700 "$wine_sockets"
mount -t tmpfs -o mode=700 tmpfs "$wine_sockets"
hosts="$logs/$name.hosts"
"$python" "$here/make_hosts.py" "$SUITE_SOURCE_DIR/config/hosts.h" > "$hosts"
mount --bind "$hosts" /etc/hosts

ready="$logs/$name.ready"; rm -f "$ready" "$logs/$name.record"
args=(--port 80 --port 88 --ready-file "$ready" --record-file "$logs/$name.record")
if [ "$routes" != "-" ]; then
  IFS=: read -ra route_files <<<"$routes"
  for file in "${route_files[@]}"; do args+=(--routes "$file"); done
fi
"$python" "$here/fixture_server.py" "${args[@]}" </dev/null >"$logs/$name.server.log" 2>&1 &
server=$!
for _ in $(seq 1 100); do [ -f "$ready" ] && break; sleep 0.05; done
[ -f "$ready" ] || { echo "fixture server did not start"; cat "$logs/$name.server.log"; exit 1; }

cleanup() { wineserver -k </dev/null >/dev/null 2>&1 || true; kill "$server" 2>/dev/null || true; }
trap cleanup EXIT
wineserver -p </dev/null >/dev/null 2>&1 || true
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

rc=0
case "$1" in
  *.exe) wine "$@" || rc=$? ;;
  *) "$@" || rc=$? ;;
esac
exit $rc
