#!/usr/bin/env bash
# A throwaway PostgreSQL server for the tests and the benchmarks.
#
#   postgres-test-server.sh start DIR   creates a cluster in DIR and starts it,
#                                       listening only on a Unix socket in DIR
#   postgres-test-server.sh stop DIR    stops it and removes DIR
#
# The server refuses to run as root: run as root, the cluster belongs to the
# postgres user and the calling user gets a login role of the same name, so
# that 'postgresql:///NAME?host=DIR' connects without a password. Durability
# is switched off: nothing in DIR outlives the run.
set -euo pipefail

action="${1:-}"
dir="${2:-}"
if [[ -z "$action" || -z "$dir" ]]; then
    echo "usage: $0 start|stop DIR" >&2
    exit 2
fi
bin="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)"
if [[ -z "$bin" ]]; then
    echo "$0: PostgreSQL server programs not found (scripts/install-deps.sh installs them)" >&2
    exit 1
fi

as_owner() {
    if [[ "$(id -u)" == 0 ]]; then
        runuser -u postgres -- "$@"
    else
        "$@"
    fi
}

case "$action" in
start)
    mkdir -p "$dir"
    dir="$(cd "$dir" && pwd)"
    # mktemp -d folders are private to their creator: the server's user must enter it.
    chmod 755 "$dir"
    if [[ "$(id -u)" == 0 ]]; then
        chown postgres "$dir"
    fi
    # Texts compare in the Japanese order of the ICU library, as on a server
    # set up for a Japanese firm, not in the order of their code points as in
    # the file database: look-ups that read ranges of stored texts must find
    # the same rows under either order.
    as_owner "$bin/initdb" -D "$dir/data" -U postgres --auth=trust -E UTF8 --locale=C \
        --locale-provider=icu --icu-locale=ja-JP >"$dir/initdb.log"
    as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -s start \
        -o "-k $dir -c listen_addresses='' -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=200"
    user="$(id -un)"
    if [[ "$user" != postgres ]]; then
        as_owner "$bin/psql" -q -h "$dir" -U postgres -d postgres \
            -c "CREATE ROLE \"$user\" SUPERUSER LOGIN" >/dev/null
    fi
    echo "$dir"
    ;;
stop)
    if [[ -d "$dir/data" ]]; then
        as_owner "$bin/pg_ctl" -D "$dir/data" -w -s -m immediate stop || true
    fi
    rm -rf "$dir"
    ;;
*)
    echo "usage: $0 start|stop DIR" >&2
    exit 2
    ;;
esac
