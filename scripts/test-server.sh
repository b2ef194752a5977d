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

readonly marker_name=".quorvex-test-server"

usage() {
    echo "usage: $0 start|stop DIR" >&2
    exit 2
}

pg_bin() {
    local dir
    for dir in /usr/lib/postgresql/15/bin /usr/lib/postgresql/*/bin; do
        if [[ -x "$dir/pg_ctl" ]]; then
            echo "$dir"
            return
        fi
    done
    echo "PostgreSQL is not installed (pg_ctl not found); run scripts/install-deps.sh" >&2
    exit 1
}

# initdb and postgres refuse to run as root: root runs them as the postgres account.
server_account() {
    if [[ $(id -u) -eq 0 ]]; then echo postgres; else id -un; fi
}

as_account() {
    local account=$1
    shift
    if [[ "$account" == "$(id -un)" ]]; then
        "$@"
    else
        runuser -u "$account" -- "$@"
    fi
}

psqlodbc_driver() {
    local candidate
    for candidate in /usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so /usr/lib/*/odbc/psqlodbcw.so \
        $(dpkg -L odbc-postgresql 2>/dev/null | grep '/psqlodbcw\.so$' || true); do
        if [[ -f "$candidate" ]]; then
            echo "$candidate"
            return
        fi
    done
    echo "psqlODBC (psqlodbcw.so) not found; run scripts/install-deps.sh" >&2
    exit 1
}

start_server() {
    local dir=$1
    local bin account driver password superuser_psql
    bin=$(pg_bin)
    account=$(server_account)
    driver=$(psqlodbc_driver)

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
    local socket="$dir/sock/.s.PGSQL.5432"
    if ((${#socket} > 107)); then
        echo "The folder $dir is too long for a socket path ($socket); use a short one under /tmp" >&2
        exit 1
    fi
    touch "$dir/$marker_name"
    # From here on a failed start leaves nothing running.
    trap 'stop_server "$dir" >/dev/null 2>&1 || true' ERR

    mkdir -p "$dir/sock"
    chown "$account" "$dir" "$dir/sock"
    chmod 755 "$dir"

    password=$(head -c 32 /dev/urandom | base64 | tr -dc 'A-Za-z0-9')
    local pwfile="$dir/superuser.pw"
    (umask 077 && printf '%s\n' "$password" >"$pwfile")
    chown "$account" "$pwfile"

    as_account "$account" "$bin/initdb" -D "$dir/data" -U postgres --pwfile="$pwfile" \
        --auth=scram-sha-256 -E UTF8 --locale=C.UTF-8 --no-sync --no-instructions >/dev/null
    rm -f "$pwfile"

    cat >>"$dir/data/postgresql.conf" <<CONF
# Throwaway test server: socket only, no durability, every statement logged.
listen_addresses = ''
unix_socket_directories = '$dir/sock'
unix_socket_permissions = 0777
fsync = off
synchronous_commit = off
full_page_writes = off
lc_messages = 'C'
log_statement = 'all'
log_line_prefix = '%m [%p] %q%u@%d '
# Ends each connection's statements in the log: the statement checks tell the ODBC connections
# from psql's by their process, and a process number may be used again later.
log_disconnections = on
CONF

    as_account "$account" "$bin/pg_ctl" -D "$dir/data" -l "$dir/postgres.log" -w -t 60 start \
        >/dev/null

    superuser_psql=(env -u PGHOST -u PGUSER -u PGDATABASE PGPASSWORD="$password"
        "$bin/psql" -X -q -v ON_ERROR_STOP=1 -h "$dir/sock" -U postgres)
    "${superuser_psql[@]}" -d postgres <<'SQL'
CREATE ROLE scott LOGIN PASSWORD 'tiger';
CREATE DATABASE scott OWNER scott TEMPLATE template0 ENCODING 'UTF8';
SQL
    "${superuser_psql[@]}" -d scott <<'SQL'
CREATE EXTENSION orafce;
CREATE SCHEMA scott AUTHORIZATION scott;
ALTER ROLE scott IN DATABASE scott SET search_path = "$user", public, oracle;
CREATE DOMAIN scott.blob AS bytea;
ALTER DOMAIN scott.blob OWNER TO scott;
-- orafce's own oracle.user_tables lists every schema; this one lists the login's own tables.
CREATE VIEW scott.user_tables AS
  SELECT c.relname::varchar(128) AS table_name
    FROM pg_catalog.pg_class c JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace
   WHERE n.nspname = current_user AND c.relkind IN ('r','p');
ALTER VIEW scott.user_tables OWNER TO scott;
SQL

    cat >"$dir/odbcinst.ini" <<INI
[Microsoft ODBC for Oracle]
Description=Test server: PostgreSQL through psqlODBC
Driver=$driver
Debug=0
CommLog=0
INI
    : >"$dir/odbc.ini"
    trap - ERR
    echo "Test server running: SID $dir/sock, ODBCSYSINI=$dir, log $dir/postgres.log"
}

stop_server() {
    local dir=$1
    [[ -d "$dir" ]] || return 0
    if [[ -f "$dir/data/postmaster.pid" ]]; then
        local bin owner
        bin=$(pg_bin)
        owner=$(stat -c %U "$dir/data")
        as_account "$owner" "$bin/pg_ctl" -D "$dir/data" stop -m fast -w -t 60 >/dev/null ||
            as_account "$owner" "$bin/pg_ctl" -D "$dir/data" stop -m immediate -w -t 60 >/dev/null ||
            true
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
