#!/usr/bin/env bash
# The run command: installs what is missing, builds the program (optimised, no sanitizers) and
# starts it. When no Oracle ODBC driver is registered with unixODBC, or with --practice, the
# program runs against the practice server (scripts/practice-server.sh), which starts first and
# stops when the program ends.
#
#   run-app.sh [--practice] [ARGUMENTS FOR THE PROGRAM...]
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

if [[ -n "${QUORVEX_BUILD_DIR:-}" ]]; then
    program=$(realpath -- "$QUORVEX_BUILD_DIR")/bin/quorvex
else
    bash scripts/install-deps.sh || {
        echo "Installing the packages Quorvex needs failed (see above); mend that and run again." >&2
        exit 1
    }
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVEX_SANITIZE=OFF \
        -DQUORVEX_TESTS=OFF -DQUORVEX_BENCH=OFF
    cmake --build build -j2
    program=build/bin/quorvex
fi

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "Quorvex is a desktop program and needs a graphical session (no DISPLAY is set)." >&2
fi

if ((!practice)); then
    drivers=$(odbcinst -q -d 2>/dev/null || true)
    if grep -qi oracle <<<"$drivers"; then
        exec "$program" "${arguments[@]}"
    fi
    echo "No Oracle ODBC driver is registered with unixODBC (odbcinst -q -d): starting the practice server."
fi

# The server stops however the program ends: its window closed, Ctrl+C, the terminal closed.
trap 'bash "$root/scripts/practice-server.sh" stop $$' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP
bash scripts/practice-server.sh start $$
registry=$(bash scripts/practice-server.sh folder)

# libpq inside the ODBC driver would complete the connection string from these.
status=0
env -u PGHOST -u PGHOSTADDR -u PGPORT -u PGUSER -u PGPASSWORD -u PGPASSFILE -u PGDATABASE \
    -u PGSERVICE -u PGSERVICEFILE -u ODBCINSTINI ODBCSYSINI="$registry" \
    "$program" "${arguments[@]}" || status=$?
exit "$status"
