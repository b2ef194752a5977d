#!/usr/bin/env bash
# The run command: installs what is missing, builds the program (optimised, no sanitizers) and
# starts it. When no Oracle ODBC driver is registered with unixODBC, or with --practice, the
# program runs against the practice server (scripts/practice-server.sh), which starts first and
# stops when the program ends.
#
#   run-app.sh [--practice]                       the window
#   run-app.sh [--practice] send|list|verify [OPTIONS]
#                                                 the command line, no display needed
#
# Standard output holds only the program's own output (a listing, a summary), so that a script
# can read it; the packages, the build and the practice server speak on standard error. Against
# the practice server the command line gets its login (--sid, --user, QUORVEX_PASSWORD) unless
# it is given one.
#
# QUORVEX_BUILD_DIR names an existing build to start as it is, with nothing installed or built.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

practice=0
arguments=()
for argument in "$@"; do
    if [[ "$argument" == --practice ]]; then practice=1; else arguments+=("$argument"); fi
done
command=${arguments[0]:-}

if [[ -n "${QUORVEX_BUILD_DIR:-}" ]]; then
    program=$(realpath -- "$QUORVEX_BUILD_DIR")/bin/quorvex
else
    {
        bash scripts/install-deps.sh || {
            echo "Installing the packages Quorvex needs failed (see above); mend that and run again."
            exit 1
        }
        cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVEX_SANITIZE=OFF \
            -DQUORVEX_TESTS=OFF -DQUORVEX_BENCH=OFF
        cmake --build build -j2
    } >&2
    program=build/bin/quorvex
fi

# The window needs a display; the program would say so too, but only after the practice server
# had started for nothing.
if ((${#arguments[@]} == 0)) &&
    [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
    echo "quorvex: the window needs a display (neither DISPLAY nor WAYLAND_DISPLAY is set); the command line needs none: run-app.sh list, run-app.sh send --help." >&2
    exit 1
fi

if ((!practice)); then
    drivers=$(odbcinst -q -d 2>/dev/null || true)
    if grep -qi oracle <<<"$drivers"; then
        exec "$program" "${arguments[@]}"
    fi
    echo "No Oracle ODBC driver is registered with unixODBC (odbcinst -q -d): starting the practice server." >&2
fi

# The server stops however the program ends: its window closed, Ctrl+C, the terminal closed.
child=""
forward() { [[ -z "$child" ]] || kill "-$1" "$child" 2>/dev/null || true; }
trap 'bash "$root/scripts/practice-server.sh" stop $$ >&2' EXIT
bash scripts/practice-server.sh start $$ >&2
registry=$(bash scripts/practice-server.sh folder)
# libpq inside the ODBC driver would complete the connection string from these.
clean_environment=(env -u PGHOST -u PGHOSTADDR -u PGPORT -u PGUSER -u PGPASSWORD -u PGPASSFILE
    -u PGDATABASE -u PGSERVICE -u PGSERVICEFILE -u ODBCINSTINI ODBCSYSINI="$registry")

if [[ "$command" != send && "$command" != list && "$command" != verify ]]; then
    trap 'exit 130' INT
    trap 'exit 143' TERM
    trap 'exit 129' HUP
    status=0
    "${clean_environment[@]}" "$program" "${arguments[@]}" || status=$?
    exit "$status"
fi

# The command line gets the practice login unless it is given one.
given=" ${arguments[*]} "
login=()
[[ "$given" == *" --sid"* ]] || login+=(--sid "$(bash scripts/practice-server.sh sid)")
[[ "$given" == *" --user"* ]] || login+=(--user scott)
arguments=("$command" "${login[@]}" "${arguments[@]:1}")
export QUORVEX_PASSWORD=${QUORVEX_PASSWORD:-tiger}
# Ctrl+C in the terminal reaches the program itself; SIGTERM and SIGHUP sent to this script are
# passed on, so that a send still ends with its summary, its report and its own status. The
# program waits in the background for that (its standard input is kept: it may ask there).
trap ':' INT
trap 'forward TERM' TERM
trap 'forward HUP' HUP
"${clean_environment[@]}" "$program" "${arguments[@]}" <&0 &
child=$!
status=0
while :; do
    wait "$child" && status=0 || status=$?
    kill -0 "$child" 2>/dev/null || break # a trap ended the wait early: wait on
done
exit "$status"
