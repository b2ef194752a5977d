#!/usr/bin/env bash
# The practice server of the run command (scripts/run-app.sh): the test server's recipe
# (scripts/lib/pg-server.sh), kept in a folder of the user's own so that the tables sent in one
# session are there in the next. It listens on its socket only, never on a network port.
#
#   practice-server.sh folder      prints the practice folder, the driver registry to use as
#                                  ODBCSYSINI
#   practice-server.sh start PID   makes the server the first time, starts it (or shares it when
#                                  it runs already), counts PID among its users and prints the
#                                  login to type into the connection screen
#   practice-server.sh stop PID    takes PID off its users; when none is left, stops the server
#   practice-server.sh sid         prints the SID of its login (its socket folder), once made
#
# The practice folder, $XDG_STATE_HOME/quorvex/practice (else ~/.local/state/quorvex/practice),
# holds the registry (odbcinst.ini), the users (PID and start time of each run command, so that a
# killed run, whose PID may come back, no longer counts) and their lock. The server's own
# folder holds data/, postgres.log and normally sock/: it is the practice folder itself, except
# for root, whose server runs as the postgres account, which cannot reach into root's home: its
# folder is made in that account's home and linked from the practice folder as server/.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=lib/pg-server.sh
source "$root/scripts/lib/pg-server.sh"

fail() {
    echo "Practice server: $*" >&2
    exit 1
}

practice_folder() {
    local state=${XDG_STATE_HOME:-}
    # A relative XDG_STATE_HOME is to be ignored, as the base directory specification says.
    if [[ "$state" != /* ]]; then
        [[ -n "${HOME:-}" ]] || fail "HOME is not set; set HOME (or XDG_STATE_HOME) and run again"
        state=$HOME/.local/state
    fi
    realpath -m -- "$state/quorvex/practice"
}

practice=$(practice_folder)
account=$(server_account)
users_file=$practice/users
# In the server's folder once the server has what makes it look like Oracle; named anew whenever
# that grows, so that an older server gets the rest (BLOB columns reading hex literals and the
# native copy's column types: 3; whether a column takes NULL, for the ledger's fingerprint of a
# table's columns: 4).
readonly lookalikes_marker=oracle-lookalikes-4

# Opens and locks the practice folder's lock: one start or stop at a time. The server must not
# inherit it (it would hold the lock while it runs): start it with {lock_fd}>&-.
lock_fd=""
take_lock() {
    { exec {lock_fd}>>"$practice/lock"; } 2>/dev/null ||
        fail "cannot write into $practice; make it yours (chown -R $(id -un) $practice) or set XDG_STATE_HOME to a folder you can write"
    flock -w 300 "$lock_fd" ||
        fail "another run command has held $practice/lock for 5 minutes; end it and run again"
}

# The server's folder, or nothing when root's has not been made yet.
server_folder() {
    if [[ "$account" == "$(id -un)" ]]; then
        echo "$practice"
    elif [[ -d "$practice/server" ]]; then
        realpath -- "$practice/server"
    fi
}

make_server_folder() {
    local link=$practice/server home target
    if [[ -L "$link" && ! -e "$link" ]]; then
        echo "The practice server's folder $(readlink -- "$link") is gone; making a new one." >&2
        rm -f -- "$link"
    fi
    if [[ ! -e "$link" ]]; then
        home=$(getent passwd "$account" | cut -d: -f6)
        target=$(as_account "$account" mktemp -d "$home/quorvex-practice-XXXXXX") ||
            fail "cannot make a folder in $home for the $account account; check that PostgreSQL is installed (scripts/install-deps.sh)"
        ln -s -- "$target" "$link"
    fi
    target=$(realpath -- "$link")
    [[ -d "$target" && "$(stat -c %U "$target")" == "$account" ]] ||
        fail "$link is not a folder of the $account account; remove it to make a new practice server"
}

# Where the server's socket goes, chosen once. The SID is typed by hand and travels in a
# connection string, so it must be plain; and the socket's path must fit in 107 bytes, which a
# long home folder can break. Then a short private folder under /tmp, named after the practice
# folder so that two of them never share it.
choose_socket_folder() {
    local preferred=$1/sock hash
    if socket_fits "$preferred" && [[ "$preferred" =~ ^[A-Za-z0-9/._-]+$ &&
        "$preferred" != *.dsn* ]]; then
        echo "$preferred"
        return
    fi
    hash=$(printf '%s' "$practice" | sha256sum | cut -c 1-10)
    echo "/tmp/quorvex-practice-$(id -u)-$hash"
}

# The folder exists and belongs to the server account alone: a folder of that name under /tmp
# made by anyone else is refused rather than used.
prepare_socket_folder() {
    local folder=$1
    as_account "$account" mkdir -p -m 700 -- "$folder" 2>/dev/null || true
    [[ -d "$folder" && ! -L "$folder" && "$(stat -c %U "$folder")" == "$account" ]] ||
        fail "the socket folder $folder is not the practice server's own; remove it and run again"
}

configured_socket_folder() {
    sed -n "s/^unix_socket_directories = '\(.*\)'\$/\1/p" "$1/data/postgresql.conf" | tail -n 1
}

# Made once, in data-init, renamed to data only when complete: a first run that was interrupted
# leaves data-init, which the next run throws away and makes again.
make_server() {
    local server=$1 init=$1/data-init socket_folder extension stop_init
    # /usr/lib/postgresql/VERSION/bin: the extension's files are in /usr/share/postgresql/VERSION.
    extension=$(basename "$(dirname "$(pg_bin)")")
    extension=/usr/share/postgresql/$extension/extension/orafce.control
    [[ -f "$extension" ]] || fail "the orafce extension of PostgreSQL is not installed; run scripts/install-deps.sh"
    if [[ -d "$init" ]]; then
        [[ ! -f "$init/postmaster.pid" ]] || pg_stop "$init" >/dev/null 2>&1 || true
        rm -rf -- "$init"
    fi
    socket_folder=$(choose_socket_folder "$server")
    prepare_socket_folder "$socket_folder"
    echo "Making the practice server in $server (once: its tables stay there from run to run)"
    # A failure below leaves no server running.
    printf -v stop_init 'pg_stop %q >/dev/null 2>&1 || true' "$init"
    # shellcheck disable=SC2064 # expanded now on purpose: the folder is a local variable
    trap "$stop_init" EXIT
    pg_create_cluster "$init" "$socket_folder" "$account"
    cat >>"$init/postgresql.conf" <<CONF
# Practice server: kept from run to run; only its own account reaches the socket; changes to
# tables are logged.
unix_socket_permissions = 0700
log_statement = 'ddl'
CONF
    pg_start "$init" "$server/postgres.log" {lock_fd}>&-
    pg_create_login "$socket_folder"
    pg_stop "$init"
    trap - EXIT
    mv -- "$init" "$server/data"
    touch -- "$server/$lookalikes_marker"
}

# A server made before it had the Oracle lookalikes (the character set view, BLOB columns that
# take a long binary bind, the native copy's column types) gets them the next time it starts:
# only while it is stopped. Running them again over older ones changes nothing.
add_missing_lookalikes() {
    local server=$1
    [[ ! -e "$server/$lookalikes_marker" ]] || return 0
    echo "Bringing the practice server up to date (once)."
    pg_add_lookalikes_offline "$server/data" ||
        fail "could not bring the practice server in $server up to date"
    touch -- "$server/$lookalikes_marker"
}

# The postmaster's PID when the server runs: postmaster.pid names a live process working in
# this data folder (after a killed run, its PID may belong to another process by now).
running_pid() {
    local data=$1/data pid
    [[ -f "$data/postmaster.pid" ]] || return 1
    pid=$(head -n 1 "$data/postmaster.pid")
    [[ "$pid" =~ ^[0-9]+$ && "$(readlink "/proc/$pid/cwd" 2>/dev/null)" == "$data" ]] || return 1
    echo "$pid"
}

# The locks a killed server left behind; only called when it does not run. Its socket folder
# is its own, so a socket there is its own too.
remove_stale_locks() {
    local server=$1 socket_folder=$2
    if [[ -f "$server/data/postmaster.pid" ]]; then
        echo "Removing the lock of a practice server that no longer runs ($server/data/postmaster.pid)."
        rm -f -- "$server/data/postmaster.pid"
    fi
    rm -f -- "$socket_folder/$pg_socket_name" "$socket_folder/$pg_socket_name.lock"
}

# "PID start-time" of a live process; the start time tells a reused PID apart.
process_identity() {
    local pid=$1 stat
    stat=$(cat "/proc/$pid/stat" 2>/dev/null) || return 1
    # The fields after the command name, which may hold spaces; the start time is the 20th.
    stat=${stat##*) }
    # shellcheck disable=SC2086 # split on purpose
    set -- $stat
    echo "$pid ${20}"
}

live_users() {
    local pid start
    [[ -f "$users_file" ]] || return 0
    while read -r pid start; do
        [[ "$(process_identity "$pid")" != "$pid $start" ]] || echo "$pid $start"
    done <"$users_file"
}

print_login() {
    local server=$1 socket_folder=$2 shared=$3
    echo "This is a practice server on this machine (PostgreSQL standing in for Oracle), not Oracle."
    if ((shared)); then
        echo "It runs already for another Quorvex and is shared; the last one to end stops it."
    else
        echo "It stops when Quorvex ends; its tables stay in $server for the next run."
    fi
    cat <<TEXT
Type into the connection screen:
    SID:       $socket_folder
    Username:  scott
    Password:  tiger
To look at what arrived:
    PGPASSWORD=tiger psql -h $socket_folder -U scott -d scott -c 'SELECT table_name FROM user_tables'
To reach a real Oracle server instead, see "Reaching a real Oracle server" in $root/README.md.
TEXT
}

start() {
    local owner=$1 server socket_folder users error shared=0
    pg_bin >/dev/null
    psqlodbc_driver >/dev/null
    # shellcheck disable=SC2174 # private is the practice folder; its parents are ordinary ones
    if [[ ! -d "$practice" ]] && ! error=$(mkdir -p -m 700 -- "$practice" 2>&1); then
        fail "cannot make the practice folder $practice (${error##*: }); set XDG_STATE_HOME to a folder you can write"
    fi
    take_lock
    [[ "$account" == "$(id -un)" ]] || make_server_folder
    server=$(server_folder)
    [[ -d "$server/data" ]] || make_server "$server"
    socket_folder=$(configured_socket_folder "$server")
    users=$(live_users)
    # Users left: a second run command. None: a run killed before it could stop the server,
    # which this run adopts, or restarts when it does not answer (its socket removed, say).
    if running_pid "$server" >/dev/null && ! "$(pg_bin)/pg_isready" -q -h "$socket_folder"; then
        [[ -z "$users" ]] ||
            fail "the server runs for another Quorvex but does not answer on $socket_folder; end that Quorvex and run again"
        pg_stop "$server/data"
    fi
    if running_pid "$server" >/dev/null; then
        [[ -z "$users" ]] || shared=1
    else
        remove_stale_locks "$server" "$socket_folder"
        add_missing_lookalikes "$server"
        prepare_socket_folder "$socket_folder"
        pg_start "$server/data" "$server/postgres.log" {lock_fd}>&- ||
            fail "the server did not start; see the end of $server/postgres.log"
    fi
    write_odbc_registry "$practice" "Practice server: PostgreSQL through psqlODBC"
    { [[ -z "$users" ]] || echo "$users"; process_identity "$owner"; } >"$users_file"
    print_login "$server" "$socket_folder" "$shared"
}

stop() {
    local owner=$1 server users
    # Nothing was started from a folder that has no lock yet.
    [[ -w "$practice/lock" ]] || return 0
    take_lock
    users=$(live_users | grep -vxF "$(process_identity "$owner" || echo none)" || true)
    printf '%s' "${users:+$users$'\n'}" >"$users_file"
    server=$(server_folder)
    if [[ -z "$users" && -n "$server" ]] && running_pid "$server" >/dev/null; then
        pg_stop "$server/data" || fail "the server did not stop; see the end of $server/postgres.log"
    fi
}

case "${1:-}:$#" in
    folder:1) echo "$practice" ;;
    sid:1)
        server=$(server_folder)
        [[ -n "$server" && -f "$server/data/postgresql.conf" ]] || fail "the practice server has not been made yet"
        configured_socket_folder "$server"
        ;;
    start:2) start "$2" ;;
    stop:2) stop "$2" ;;
    *)
        echo "usage: $0 folder | sid | start PID | stop PID" >&2
        exit 2
        ;;
esac
