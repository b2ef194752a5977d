#!/usr/bin/env bash
# Takes the README's pictures of both screens and of the failure report from the real program in
# real windows: a virtual X display with a window manager, a throwaway test server with a few
# tables, the sample folder beside the program, and settings in a temporary folder (yours are
# never read or changed).
#
#   screenshots.sh [BUILD_DIR]     BUILD_DIR defaults to build, the run command's build
#
# Writes docs/screenshots/connection.png, docs/screenshots/tables.png and
# docs/screenshots/error.png.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m -- "${1:-$root/build}")
out=$root/docs/screenshots
source "$root/scripts/lib/x-session.sh"

cd "$root"
bash scripts/install-deps.sh
require_x_tools
if [[ ! -x "$build/bin/quorvex" ]]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVEX_SANITIZE=OFF \
        -DQUORVEX_TESTS=OFF -DQUORVEX_BENCH=OFF
fi
targets=(quorvex)
if cmake --build "$build" --target help | grep '^quorvex_samples:' >/dev/null; then
    targets+=(quorvex_samples)
fi
cmake --build "$build" --target "${targets[@]}" -j2
program=$build/bin/quorvex

work=$(mktemp -d /tmp/qvx-shots-XXXXXX)
# The server's own folder: the server account must reach it, and no "." in it (it is the SID).
server=$(mktemp -d /tmp/qvx-XXXXXX)
app_pid=""
finish() {
    if [[ -n "$app_pid" ]] && kill -0 "$app_pid" 2>/dev/null; then
        kill "$app_pid" 2>/dev/null || true
        wait "$app_pid" 2>/dev/null || true
    fi
    stop_x_session
    bash "$root/scripts/test-server.sh" stop "$server" >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap finish EXIT

start_x_session "$work" || {
    echo "No virtual display: $x_session_error" >&2
    exit 1
}

wait_for() {
    local what=$1 deadline=$((SECONDS + 120))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || {
            echo "Waited 120 s for $what; the program said:" >&2
            tail -n 20 "$work/app.log" >&2
            exit 1
        }
        sleep 0.2
    done
}

# Starts the program with the given settings; leaves its pid in $app_pid and, once it shows a
# window titled like the pattern (the screen, unless given), that window in $window.
start_program() {
    local folder=$1 sid=$2 title=${3:-^Quorvex\$} config=$work/config-$RANDOM
    mkdir -p "$config"
    printf '[Quorvex]\nParadoxFolder=%s\nServer=%s\nUser=scott\nPassword=tiger\n' \
        "$folder" "$sid" >"$config/Veltrane.conf"
    chmod 600 "$config/Veltrane.conf"
    (
        cd "$work"
        exec env -u QT_QPA_PLATFORM ODBCSYSINI="$server" XDG_CONFIG_HOME="$config" "$program"
    ) >>"$work/app.log" 2>&1 &
    app_pid=$!
    shown() {
        window=$(xdotool search --all --onlyvisible --pid "$app_pid" --name "$title" \
            2>/dev/null | head -n 1)
        [[ -n "$window" ]]
    }
    wait_for "the program's window" shown
    xdotool windowactivate --sync "$window"
    xdotool mousemove 5 5
}

stop_program() {
    kill "$app_pid"
    wait "$app_pid" 2>/dev/null || true
    app_pid=""
}

# The window with its frame, cut from the screen once two takes a second apart agree (the
# window has finished painting; the text caret blinks with a one-second period).
capture() {
    local file=$1 extents left right top bottom geometry X Y WIDTH HEIGHT x y width height take
    extents=$(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    read -r left right top bottom <<<"$extents"
    geometry=$(xwininfo -id "$window")
    X=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$geometry")
    Y=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$geometry")
    WIDTH=$(awk '/^ *Width:/ {print $2}' <<<"$geometry")
    HEIGHT=$(awk '/^ *Height:/ {print $2}' <<<"$geometry")
    x=$((X - left)) y=$((Y - top))
    width=$((WIDTH + left + right)) height=$((HEIGHT + top + bottom))
    for take in $(seq 1 20); do
        sleep 1
        import -window root -crop "${width}x${height}+${x}+${y}" +repage "$work/take.png"
        if [[ -f "$work/last.png" ]] && cmp -s "$work/take.png" "$work/last.png"; then
            break
        fi
        mv "$work/take.png" "$work/last.png"
    done
    mkdir -p "$(dirname "$file")"
    convert "$work/last.png" -strip "$file"
    rm -f "$work/take.png" "$work/last.png"
    echo "Wrote $file (${width}x${height})"
}

bash scripts/test-server.sh start "$server" >/dev/null
psql_bin=$(ls /usr/lib/postgresql/*/bin/psql | sort -V | tail -n 1)
env -u PGHOST -u PGUSER -u PGDATABASE PGPASSWORD=tiger \
    "$psql_bin" -X -q -v ON_ERROR_STOP=1 -h "$server/sock" -U scott -d scott <<'SQL'
CREATE TABLE "DEPT" ("DEPTNO" INT, "DNAME" VARCHAR(14), "LOC" VARCHAR(13));
CREATE TABLE "EMP" ("EMPNO" INT, "ENAME" VARCHAR(10), "DEPTNO" INT);
CREATE TABLE "BONUS" ("ENAME" VARCHAR(10), "SAL" INT);
CREATE TABLE "SALGRADE" ("GRADE" INT, "LOSAL" INT, "HISAL" INT);
CREATE TABLE "CUSTOMER" ("CustNo" INT, "Name" VARCHAR(30));
SQL

# The connection screen as a user sees it after "Load Sample/Example Database" in an installed
# copy, with an Oracle login typed in: the folder is not there on this machine and the login
# does not connect, so the program stays on this screen.
start_program /usr/local/lib/quorvex/Samples ORCL
capture "$out/connection.png"
stop_program

# The tables screen: with the sample folder and the test server's login saved, the program
# opens it by itself at start. Two Paradox tables are selected, ready to be sent.
start_program "$build/bin/Samples" "$server/sock"
# The Paradox list's first line, then down to CUSTOMER and on to ORDERS.
xdotool mousemove --window "$window" $(((2 * (4080 + 240) + 15) / 30 + 24)) \
    $(((2 * (120 + 360) + 15) / 30 + 8)) click 1
xdotool key Down shift+Down
xdotool mousemove 5 5
capture "$out/tables.png"
stop_program

# The failure report with a description of 5,000 characters: a saved folder text that the file
# search rejects, reported at start-up before any window of the program is up.
start_program "/$(printf 'Paradox tables %.0s' $(seq 1 333))" ORCL '^Application Error$'
capture "$out/error.png"
stop_program
