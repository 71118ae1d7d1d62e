#!/usr/bin/env bash
# A private PostgreSQL server for the tests and benchmarks: its own data folder,
# a Unix socket only (no TCP port), started and stopped on demand.
#
#   tests/pg/pgserver.sh start DIR   initialises DIR/data on first use, starts the
#                                    server, prints the connection string
#   tests/pg/pgserver.sh stop DIR    stops it
#   tests/pg/pgserver.sh env DIR     prints the connection string only
#
# initdb refuses to run as root: the server then runs as the "postgres" system
# user (from Debian's packages), and DIR is made reachable for it.
set -euo pipefail

cmd=${1:-}
dir=${2:-}
[ -n "$cmd" ] && [ -n "$dir" ] || { echo "usage: $0 start|stop|env DIR" >&2; exit 2; }
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
data="$dir/data"
sock="$dir/socket"
log="$dir/server.log"
port=5433

bindir=""
for v in 17 16 15 14 13; do
    if [ -x "/usr/lib/postgresql/$v/bin/initdb" ]; then bindir="/usr/lib/postgresql/$v/bin"; break; fi
done

install_server() {
    local sudo=""
    [ "$(id -u)" = 0 ] || sudo=sudo
    echo "PostgreSQL is missing; installing it from Debian's packages" >&2
    $sudo apt-get update >&2 && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y postgresql >&2
}

# As the server's own user when we are root.
as_owner() {
    if [ "$(id -u)" = 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

conninfo() { echo "host=$sock port=$port dbname=postgres user=$(owner_name)"; }
owner_name() { if [ "$(id -u)" = 0 ]; then echo postgres; else id -un; fi; }

case "$cmd" in
start)
    if [ -z "$bindir" ]; then
        install_server
        for v in 17 16 15 14 13; do
            [ -x "/usr/lib/postgresql/$v/bin/initdb" ] && { bindir="/usr/lib/postgresql/$v/bin"; break; }
        done
    fi
    [ -n "$bindir" ] || { echo "PostgreSQL could not be installed" >&2; exit 1; }
    mkdir -p "$sock"
    if [ "$(id -u)" = 0 ]; then
        # The server user must reach the folder and everything above it.
        chown -R postgres: "$dir"
        p="$dir"
        while [ "$p" != "/" ]; do chmod o+x "$p" 2>/dev/null || true; p=$(dirname "$p"); done
    fi
    if [ ! -f "$data/PG_VERSION" ]; then
        as_owner "$bindir/initdb" -D "$data" -U "$(owner_name)" -A trust -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 ||
            { cat "$dir/initdb.log" >&2; exit 1; }
    fi
    if ! as_owner "$bindir/pg_ctl" -D "$data" status >/dev/null 2>&1; then
        # fsync off: a test server's data may be lost on a crash; nothing else changes.
        as_owner "$bindir/pg_ctl" -D "$data" -l "$log" -w -t 60 start \
            -o "-c listen_addresses='' -c unix_socket_directories='$sock' -p $port -c fsync=off \
                -c synchronous_commit=off -c full_page_writes=off -c max_connections=200" >/dev/null ||
            { cat "$log" >&2; exit 1; }
    fi
    conninfo
    ;;
stop)
    if [ -n "$bindir" ] && [ -f "$data/PG_VERSION" ]; then
        as_owner "$bindir/pg_ctl" -D "$data" -w -t 60 stop -m fast >/dev/null 2>&1 || true
    fi
    ;;
env)
    conninfo
    ;;
*)
    echo "usage: $0 start|stop|env DIR" >&2
    exit 2
    ;;
esac
