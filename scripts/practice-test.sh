#!/usr/bin/env bash
# The run command's practice mode, headless, with a throwaway HOME and XDG_STATE_HOME and the
# given build's program: the login it prints works through ODBC and with the printed psql line;
# a second run command shares the server; Ctrl+C ends the program and stops the server, keeping
# its folder; the next start finds the tables of the first.
#
#   practice-test.sh BUILD_DIR
set -euo pipefail
set -m # each run command in its own process group, which Ctrl+C (SIGINT) reaches as a whole

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:?usage: practice-test.sh BUILD_DIR}" && pwd)
work=$(mktemp -d /tmp/qvx-practice-test-XXXXXX)
unset PGHOST PGHOSTADDR PGPORT PGUSER PGPASSWORD PGDATABASE PGSERVICE DISPLAY WAYLAND_DISPLAY
export HOME=$work/home XDG_STATE_HOME=$work/state XDG_CONFIG_HOME=$work/config
export QT_QPA_PLATFORM=offscreen QUORVEX_BUILD_DIR=$build
mkdir -p "$HOME" "$XDG_STATE_HOME" "$XDG_CONFIG_HOME" "$work/no-drivers"
practice=$XDG_STATE_HOME/quorvex/practice

finish() {
    local status=$? run server
    for run in $(jobs -p); do kill -TERM -- "-$run" 2>/dev/null || true; done
    wait || true
    bash "$root/scripts/practice-server.sh" stop $$ || true
    # Root's server folder lives in the postgres account's home; it was made for this test.
    server=$(readlink "$practice/server" || echo "$practice")
    if [[ -f "$server/data/postmaster.pid" ]]; then # the script failed to stop it
        kill -INT "$(head -n 1 "$server/data/postmaster.pid")" && sleep 2 || true
    fi
    [[ "$server" != */quorvex-practice-* ]] || rm -rf -- "$server"
    rm -rf -- "$work"
    exit "$status"
}
trap finish EXIT

fail() {
    echo "FAIL: $*" >&2
    tail -n 20 "$work"/*.log >&2 || true
    exit 1
}

# Starts the run command in the background (its PID in $run) and waits for its program.
start_run() {
    local name=$1 deadline=$((SECONDS + 300))
    shift
    "$@" bash "$root/scripts/run-app.sh" "${options[@]}" >"$work/$name.log" 2>&1 &
    run=$!
    until [[ -n "$(program_of "$run")" ]]; do
        kill -0 "$run" 2>/dev/null || fail "$name: the run command ended early"
        ((SECONDS < deadline)) || fail "$name: no program after 300 s"
        sleep 0.2
    done
}
program_of() { ps -o pid=,comm= --ppid "$1" | awk '$2 == "quorvex" { print $1 }'; }
# Ctrl+C in the run command's terminal: SIGINT to its whole process group.
interrupt_run() {
    kill -INT -- "-$1"
    wait "$1" || true
}

odbc() {
    ODBCSYSINI=$practice isql -k -b -d'|' \
        "Driver={Microsoft ODBC for Oracle};Server=$sid;Uid=scott;Pwd=tiger;" <<<"$1"
}
server_answers() { pg_isready -q -h "$sid"; }

echo "First run command (--practice): the login it prints"
options=(--practice)
start_run first
first=$run
sid=$(sed -n 's/^ *SID: *//p' "$work/first.log")
grep -q 'not Oracle' "$work/first.log" || fail "the terminal does not say that this is not Oracle"
grep -qx ' *Username: *scott' "$work/first.log" && grep -qx ' *Password: *tiger' "$work/first.log" ||
    fail "no practice login printed"
grep -q 'Reaching a real Oracle server' "$work/first.log" || fail "no way to a real Oracle server"
odbc 'CREATE TABLE "PRACTICE" (N integer)' && odbc "INSERT INTO \"PRACTICE\" VALUES (42)" ||
    fail "the printed login does not work through ODBC ($sid)"
# The Oracle lookalikes: the character set view, and BLOB columns that take a long binary bind.
[[ "$(odbc "SELECT value FROM nls_database_parameters WHERE parameter = 'NLS_CHARACTERSET'" |
    grep -x AL32UTF8)" == AL32UTF8 ]] || fail "the practice server has no nls_database_parameters"
odbc 'CREATE TABLE "PICTURES" ("P" BLOB)' >/dev/null &&
    [[ "$(odbc "SELECT format_type(atttypid, NULL) FROM pg_attribute WHERE attname = 'P' AND attrelid = '\"PICTURES\"'::regclass" |
        grep -x bytea)" == bytea ]] || fail "a BLOB column of the practice server is not bytea"
psql_line=$(sed -n 's/^ *\(PGPASSWORD=tiger psql .*\)$/\1/p' "$work/first.log")
[[ "$(eval "$psql_line -A -t" | sort | tr '\n' ' ')" == "PICTURES PRACTICE " ]] ||
    fail "the printed psql line does not list the tables"

echo "Second run command (no Oracle driver registered): shares the server"
options=()
start_run second env ODBCSYSINI="$work/no-drivers"
grep -q "shared" "$work/second.log" || fail "the second run command did not share the server"
[[ "$(sed -n 's/^ *SID: *//p' "$work/second.log")" == "$sid" ]] || fail "the second SID differs"
kill -TERM "$(program_of "$run")" # the program ends, as when its window is closed
wait "$run" || true
server_answers || fail "the server stopped while the first run command still used it"

echo "Ctrl+C in the first run command's terminal"
interrupt_run "$first"
! server_answers || fail "the server still runs after the last run command ended"
[[ ! -e "$(realpath "$practice/server" 2>/dev/null || echo "$practice")/data/postmaster.pid" ]] ||
    fail "the server left its lock"
[[ -f "$practice/odbcinst.ini" ]] || fail "the practice folder was not kept"

echo "Third run command: the table of the first is there; a server made before the lookalikes gets them"
marker=$(readlink "$practice/server" || echo "$practice")/oracle-lookalikes-4
[[ -f "$marker" ]] || fail "the practice server does not record its lookalikes"
rm -f -- "$marker"
options=(--practice)
start_run third
[[ -f "$marker" ]] && grep -q 'up to date' "$work/third.log" ||
    fail "the practice server was not brought up to date"
[[ "$(odbc 'SELECT N FROM "PRACTICE"' | grep -x 42)" == 42 ]] || fail "PRACTICE lost its row"
interrupt_run "$run"
! server_answers || fail "the server still runs after the third run command ended"

echo "The command line through the run command: only the program's output on standard output"
listed=$(env -u QT_QPA_PLATFORM bash "$root/scripts/run-app.sh" --practice list --oracle \
    2>"$work/list.log") || fail "run-app.sh list --oracle failed"
[[ "$listed" == $'PICTURES\nPRACTICE' ]] || fail "run-app.sh list --oracle printed: $listed"
! server_answers || fail "the server still runs after the command line ended"
echo "The README's first minute on the command line, word for word: every sample table the same"
# A checkout whose build folder is this build, so that build/bin/Samples is this build's samples;
# no Oracle driver registered, as on a fresh machine, so the run command uses the practice server.
mkdir -p "$work/checkout"
ln -s "$root/scripts" "$work/checkout/scripts"
ln -s "$build" "$work/checkout/build"
first_minute=$(awk '/^Try it against the practice server in the first minute/ { found = 1 }
    found && /^    bash scripts\/run-app.sh / { print substr($0, 5); taken = 1; next }
    taken { exit }' "$root/README.md")
[[ $(wc -l <<<"$first_minute") -eq 3 && "$first_minute" == *verify* ]] ||
    fail "the README's first minute is not three run commands ending in verify: $first_minute"
step=0
while IFS= read -r command; do
    step=$((step + 1))
    status=0
    (cd "$work/checkout" && ODBCSYSINI="$work/no-drivers" timeout 600 bash -c "$command") \
        >"$work/minute-$step.out" 2>"$work/minute-$step.log" || status=$?
    ((status == 0)) || fail "'$command' ended with status $status: $(cat "$work/minute-$step.out")"
done <<<"$first_minute"
grep -qx '5 of 5 tables are the same.' "$work/minute-3.out" ||
    fail "verify after the first minute: $(cat "$work/minute-3.out")"
! server_answers || fail "the server still runs after the first minute"
echo "PASSED: the practice server started, shared, stopped and kept its tables"
