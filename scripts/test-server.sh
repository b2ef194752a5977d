#!/usr/bin/env bash
# A throwaway database server for the tests: PostgreSQL 15 with the orafce extension, reached
# only through a Unix socket in DIR/sock, with login scott/tiger, registered for unixODBC under
# the driver name "Microsoft ODBC for Oracle" in DIR/odbcinst.ini (use it with ODBCSYSINI=DIR).
#
#   test-server.sh start DIR   creates and starts the server in DIR (a short path, not under /root)
#   test-server.sh stop DIR    stops it and removes what start made; harmless when nothing runs
#
# The tests reach the server with the SID DIR/sock; every statement it executes is written to
# DIR/postgres.log.
set -euo pipefail

# shellcheck source=lib/pg-server.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/pg-server.sh"

readonly marker_name=".quorvex-test-server"

usage() {
    echo "usage: $0 start|stop DIR" >&2
    exit 2
}

start_server() {
    local dir=$1 account
    # Both fail here, before anything is made, when a package is missing.
    pg_bin >/dev/null
    psqlodbc_driver >/dev/null
    account=$(server_account)

    mkdir -p "$dir"
    if [[ -e "$dir/data" ]]; then
        echo "$dir already holds a server; stop it first: $0 stop $dir" >&2
        exit 1
    fi
    # Only an empty folder: stop removes what it finds there under the names start uses.
    if [[ -n "$(ls -A "$dir")" ]]; then
        echo "$dir is not empty; give the server a fresh folder (mktemp -d /tmp/qvx-XXXXXX)" >&2
        exit 1
    fi
    if ! socket_fits "$dir/sock"; then
        echo "The folder $dir is too long for a socket path ($dir/sock/$pg_socket_name); use a short one under /tmp" >&2
        exit 1
    fi
    touch "$dir/$marker_name"
    # From here on a failed start leaves nothing running (an EXIT trap, since the steps fail
    # inside the recipe's functions, where an ERR trap would not reach).
    trap 'stop_server "$dir" >/dev/null 2>&1 || true' EXIT

    mkdir -p "$dir/sock"
    chown "$account" "$dir" "$dir/sock"
    chmod 755 "$dir"

    pg_create_cluster "$dir/data" "$dir/sock" "$account"
    cat >>"$dir/data/postgresql.conf" <<CONF
# Throwaway test server: no durability, every statement logged.
fsync = off
synchronous_commit = off
full_page_writes = off
log_statement = 'all'
# Ends each connection's statements in the log: the statement checks tell the ODBC connections
# from psql's by their process, and a process number may be used again later.
log_disconnections = on
CONF
    pg_start "$dir/data" "$dir/postgres.log"
    pg_create_login "$dir/sock"
    write_odbc_registry "$dir" "Test server: PostgreSQL through psqlODBC"
    trap - EXIT
    echo "Test server running: SID $dir/sock, ODBCSYSINI=$dir, log $dir/postgres.log"
}

stop_server() {
    local dir=$1
    [[ -d "$dir" ]] || return 0
    if [[ -f "$dir/data/postmaster.pid" ]]; then
        pg_stop "$dir/data" || true
    fi
    # Remove only what start made, and the folder itself when that leaves it empty, so a
    # mistyped DIR never loses anything else.
    if [[ -e "$dir/$marker_name" ]]; then
        rm -rf "$dir/data" "$dir/sock" "$dir/postgres.log" "$dir/odbcinst.ini" "$dir/odbc.ini" \
            "$dir/superuser.pw" "$dir/$marker_name"
        rmdir "$dir" 2>/dev/null || true
    fi
}

[[ $# -eq 2 ]] || usage
dir=$(realpath -m -- "$2")
case "$1" in
    start) start_server "$dir" ;;
    stop) stop_server "$dir" ;;
    *) usage ;;
esac
