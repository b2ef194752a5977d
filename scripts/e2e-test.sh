#!/usr/bin/env bash
# The end-to-end test in a real window. Installs the built program into a temporary prefix,
# starts the installed `quorvex` command under a virtual X display with a small window manager,
# exactly as a user would start it (nothing inside the program knows it is being tested), and
# drives it with xdotool: the sample folder button, the folder and login typed into the
# connection screen, both Test Connection buttons, Next >, a selection of Paradox tables sent to
# the test server with the overwrite question answered, then a rename and a delete on each
# side. Every effect is checked where a user would find it: the settings file, the table files
# on disk, the tables and rows on the server and the statements in its log. What only a window
# manager shows is read from it: the exact title of every window and box, and where the windows
# and boxes stand with their frames, on their first showing too (two more starts: one whose
# start-up reports failures before any window is up, one that opens the tables screen by
# itself).
#
#   e2e-test.sh BUILD_DIR
#
# Needs the test server of scripts/run-tests.sh: ODBCSYSINI, QUORVEX_TEST_SID, QUORVEX_TEST_LOG.
# Exits 0 when everything held, 1 on a failure, 77 (skipped) when no virtual display can start.
set -euo pipefail

readonly skip_code=77
# Seconds for any one thing to happen. Each normally takes a few seconds even on a loaded machine
# with the sanitizers (the run ends with its longest wait); a window that stops answering fails
# the run within a minute, naming what it was waiting for.
readonly wait_limit=${QUORVEX_E2E_WAIT:-45}
longest_wait=0
longest_wait_for="nothing"

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:?usage: e2e-test.sh BUILD_DIR}" && pwd)
source "$root/scripts/lib/x-session.sh"

for variable in ODBCSYSINI QUORVEX_TEST_SID QUORVEX_TEST_LOG; do
    if [[ -z "${!variable:-}" ]]; then
        echo "FAIL: $variable is not set; run this through scripts/run-tests.sh" >&2
        exit 1
    fi
done
require_x_tools

work=$(mktemp -d /tmp/qvx-e2e-XXXXXX)
app_pid=""
finish() {
    local status=$?
    if [[ -n "$app_pid" ]] && kill -0 "$app_pid" 2>/dev/null; then
        # A program that stopped answering may ignore the polite request, or be stopped itself.
        kill -TERM "$app_pid" 2>/dev/null || true
        kill -CONT "$app_pid" 2>/dev/null || true
        local deadline=$((SECONDS + 5))
        while kill -0 "$app_pid" 2>/dev/null && ((SECONDS < deadline)); do sleep 0.2; done
        kill -KILL "$app_pid" 2>/dev/null || true
        wait "$app_pid" 2>/dev/null || true
    fi
    stop_x_session
    drop_test_tables >/dev/null 2>&1 || true
    rm -rf "$work"
    exit "$status"
}
trap finish EXIT

fail() {
    echo "FAIL: $*" >&2
    if [[ -n "${DISPLAY:-}" ]]; then
        import -window root "$build/e2e-failure.png" 2>/dev/null &&
            echo "The screen at the failure: $build/e2e-failure.png" >&2
    fi
    if [[ -s "$work/app.log" ]]; then
        echo "--- program output ---" >&2
        tail -n 40 "$work/app.log" >&2
    fi
    exit 1
}

# Polls a condition (a command) until it holds or the limit passes.
wait_until() {
    local what=$1
    shift
    local started=$SECONDS
    local deadline=$((started + wait_limit))
    until "$@"; do
        if ((SECONDS >= deadline)); then
            fail "no answer within ${wait_limit} s while waiting for: $what"
        fi
        if [[ -n "$app_pid" ]] && ! kill -0 "$app_pid" 2>/dev/null; then
            fail "the program ended while waiting for: $what"
        fi
        sleep 0.2
    done
    if ((SECONDS - started > longest_wait)); then
        longest_wait=$((SECONDS - started))
        longest_wait_for=$what
    fi
}

# --- the test server, seen the way a person checking by hand would: psql as scott ---------------

psql_bin=$(ls /usr/lib/postgresql/*/bin/psql 2>/dev/null | sort -V | tail -n 1)
[[ -x "$psql_bin" ]] || fail "psql not found; run scripts/install-deps.sh"
server_sql() {
    env -u PGHOST -u PGUSER -u PGDATABASE -u PGSERVICE PGPASSWORD=tiger \
        "$psql_bin" -X -q -A -t -v ON_ERROR_STOP=1 -h "$QUORVEX_TEST_SID" -U scott -d scott -c "$1"
}
server_tables() { server_sql "SELECT table_name FROM user_tables ORDER BY 1" | tr '\n' ' '; }
server_has_table() { [[ " $(server_tables) " == *" $1 "* ]]; }
server_lacks_table() { ! server_has_table "$1"; }
server_rows() { server_sql "SELECT count(*) FROM \"$1\""; }
server_columns() {
    server_sql "SELECT count(*) FROM information_schema.columns
                WHERE table_schema = 'scott' AND table_name = '$1'"
}
drop_test_tables() {
    local table
    for table in $(server_sql "SELECT table_name FROM user_tables"); do
        server_sql "DROP TABLE \"$table\""
    done
}
log_mark=0
mark_log() { log_mark=$(stat -c %s "$QUORVEX_TEST_LOG"); }
log_since_mark() { tail -c +"$((log_mark + 1))" "$QUORVEX_TEST_LOG"; }
log_has() { log_since_mark | grep -F -- "$1" >/dev/null; }

# --- a Paradox table file's own header: row count at 0x06, field count at 0x21 ------------------

header_u32() { od -An -t u4 -j "$2" -N 4 "$1" | tr -d ' '; }
header_u16() { od -An -t u2 -j "$2" -N 2 "$1" | tr -d ' '; }
file_rows() { header_u32 "$1" 6; }
file_fields() { header_u16 "$1" 33; }

# --- the program's windows ----------------------------------------------------------------------

# 15 twips make one pixel; the program rounds to the nearest.
px() { echo $(((2 * $1 + 15) / 30)); }

# Clicks the middle of a control given in twips: its container's offset, then its own box.
click_control() {
    local window=$1 offset_left=$2 offset_top=$3 left=$4 top=$5 width=$6 height=$7
    xdotool mousemove --window "$window" "$(px $((offset_left + left + width / 2)))" \
        "$(px $((offset_top + top + height / 2)))" click 1
}

# Clicks the first entry of a list given in twips (one text line below its top edge).
click_first_entry() {
    local window=$1 left=$2 top=$3
    xdotool mousemove --window "$window" "$(($(px "$left") + 24))" "$(($(px "$top") + 8))" click 1
}

program_windows() {
    xdotool search --all --onlyvisible --pid "$app_pid" --name "$1" 2>/dev/null || true
}
is_visible() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
is_hidden() { ! is_visible "$1"; }

# A visible window of the program titled like the pattern, other than the two screens.
new_box() {
    local id
    for id in $(program_windows "$1"); do
        if [[ "$id" != "${form1:-}" && "$id" != "${form2:-}" ]]; then
            echo "$id"
            return 0
        fi
    done
    return 1
}
has_box() { new_box "$1" >/dev/null; }

# The title bar must show exactly the window's own title, nothing added (as both the ICCCM and
# the EWMH name, which window managers read).
check_title() {
    local window=$1 expected=$2 property shown
    for property in WM_NAME _NET_WM_NAME; do
        shown=$(xprop -id "$window" -notype "$property" | sed -n "s/^$property = \"\(.*\)\"\$/\1/p")
        [[ "$shown" == "$expected" ]] ||
            fail "$property of a window is \"$shown\" instead of \"$expected\""
    done
}

# Waits for a box whose title starts with the given one (so that a title with something added
# is found, and then failed), checks its exact title, leaves its id in $box and its client width
# in $box_width.
wait_for_box() {
    local pattern
    pattern="^$(sed 's/[][\.*^$?+(){}|]/\\&/g' <<<"$1")"
    wait_until "a box titled '$1'" has_box "$pattern"
    box=$(new_box "$pattern")
    check_title "$box" "$1"
    box_width=$(xwininfo -id "$box" | awk '/^ *Width:/ {print $2}')
    xdotool windowactivate --sync "$box" 2>/dev/null || xdotool windowfocus --sync "$box"
}

# A window's outer box, title bar and borders included, as the window manager has framed it:
# sets outer_left, outer_top, outer_width, outer_height and frame_height (title bar and borders).
has_frame() { xprop -id "$1" _NET_FRAME_EXTENTS | grep -q '='; }
measure_window() {
    local info left right top bottom
    wait_until "the window manager to frame a window" has_frame "$1"
    read -r left right top bottom <<<"$(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')"
    info=$(xwininfo -id "$1")
    outer_left=$(($(awk '/Absolute upper-left X:/ {print $4}' <<<"$info") - left))
    outer_top=$(($(awk '/Absolute upper-left Y:/ {print $4}' <<<"$info") - top))
    outer_width=$(($(awk '/^ *Width:/ {print $2}' <<<"$info") + left + right))
    outer_height=$(($(awk '/^ *Height:/ {print $2}' <<<"$info") + top + bottom))
    frame_height=$((top + bottom))
}

# The window, frame included, stands in the middle of the screen; a height other than its own
# (the size the window was centred with) may be given. Half a pixel rounds either way.
check_centred() {
    local what=$1 height=${2:-$outer_height} screen_width screen_height
    read -r screen_width screen_height <<<"$(xwininfo -root | awk '/^ *Width:/ {w=$2} /^ *Height:/ {h=$2} END {print w, h}')"
    local off_x=$((2 * outer_left + outer_width - screen_width))
    local off_y=$((2 * outer_top + height - screen_height))
    ((off_x >= -1 && off_x <= 1 && off_y >= -1 && off_y <= 1)) ||
        fail "$what is not centred: its frame is at $outer_left,$outer_top, ${outer_width}x$outer_height on ${screen_width}x$screen_height"
    ((outer_left >= 0 && outer_top >= 0 && outer_left + outer_width <= screen_width &&
        outer_top + outer_height <= screen_height)) ||
        fail "$what does not fit the screen: ${outer_width}x$outer_height at $outer_left,$outer_top"
}

# The tables screen's outer height is 5965 twips (the "< Back" button's bottom and 580 more).
check_tables_screen_height() {
    ((outer_height == $(px 5965))) ||
        fail "the tables screen is $outer_height px high with its frame, not $(px 5965) ($1)"
}

# The tables screen on its first showing: its own title, centred with the size it had then (its
# design height), then given its outer height.
check_tables_screen_first_showing() {
    check_title "$form2" Quorvex
    measure_window "$form2"
    check_tables_screen_height "$1"
    check_centred "the tables screen $1" $(($(px 5520) + frame_height))
}

# Starts the installed program with the settings in $work/config.
start_program() {
    (
        cd "$work"
        exec env -u PGHOST -u PGHOSTADDR -u PGPORT -u PGUSER -u PGPASSWORD -u PGDATABASE \
            -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$work/config" "$prefix/bin/quorvex"
    ) >>"$work/app.log" 2>&1 &
    app_pid=$!
}

# Closes the window the way a user would and checks that the program ended cleanly.
close_program() {
    activate "$1"
    xdotool key alt+F4
    program_ended() { ! kill -0 "$app_pid" 2>/dev/null; }
    wait_until "the program to end" program_ended
    local exit_code=0
    wait "$app_pid" || exit_code=$?
    app_pid=""
    ((exit_code == 0)) || fail "the program ended with exit code $exit_code"
    if grep -qE 'AddressSanitizer|LeakSanitizer|runtime error:' "$work/app.log"; then
        fail "the sanitizers reported a fault"
    fi
}

# Presses keys in the current box and waits until it has gone.
answer_box() {
    xdotool key --delay 50 "$@"
    wait_until "the box to close" is_hidden "$box"
}

activate() { xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"; }
type_text() { xdotool type --delay 30 -- "$1"; }
setting_is() { grep -qxF -- "$1=$2" "$work/config/Veltrane.conf" 2>/dev/null; }

# --- one command at a time, with real input (each case stands on its own) ------------------------

# Double-clicks the middle of a control given in twips, as click_control clicks it.
double_click_control() {
    local window=$1 offset_left=$2 offset_top=$3 left=$4 top=$5 width=$6 height=$7
    xdotool mousemove --window "$window" "$(px $((offset_left + left + width / 2)))" \
        "$(px $((offset_top + top + height / 2)))" click --repeat 2 --delay 80 1
}

# Ctrl+clicks the first entry of a list given in twips.
ctrl_click_first_entry() {
    local window=$1 left=$2 top=$3
    xdotool mousemove --window "$window" "$(($(px "$left") + 24))" "$(($(px "$top") + 8))" \
        keydown ctrl click 1 keyup ctrl
}

connection_screen_shown() { is_visible "$form1" && is_hidden "$form2"; }
tables_screen_shown() { is_hidden "$form1" && is_visible "$form2"; }
first_main_window() { [[ -n "$(program_windows '^Quorvex')" ]]; }

# Fails when any window of the program other than the two screens is up.
check_no_box() {
    local id
    id=$(new_box '.') || return 0
    fail "$1: a box titled \"$(xdotool getwindowname "$id")\" came up"
}

# A double-click on "Send Table/s To Oracle" sends the selected table once: no second send inside
# the first, nor one after it (that one would ask "Overwrite?" for the table just made).
check_double_click_sends_once() {
    echo "A double-click on Send Table/s To Oracle sends the table once"
    activate "$form2"
    click_first_entry "$form2" $((4080 + 240)) $((120 + 360)) # CLIENTS
    xdotool key Down                                           # ORDERS alone
    server_lacks_table ORDERS || fail "ORDERS is on the server before it is sent"
    mark_log
    double_click_control "$form2" 4080 120 240 2600 3330 405 # Send Table/s To Oracle
    local expected
    expected=$(file_rows "$pdx/ORDERS.DB")
    sent_or_box() {
        has_box '.' || { server_has_table ORDERS && [[ "$(server_rows ORDERS)" == "$expected" ]]; }
    }
    wait_until "$expected rows of ORDERS on the server" sent_or_box
    sleep 3 # time for a second send, were there one
    check_no_box "after a double-click on Send Table/s To Oracle"
    [[ "$(server_rows ORDERS)" == "$expected" ]] || fail "ORDERS holds $(server_rows ORDERS) rows"
    local creates
    creates=$(log_since_mark | grep -c 'CREATE TABLE "ORDERS"' || true)
    ((creates == 1)) || fail "a double-click created ORDERS $creates times"
}

# While "Delete Table/s" deletes thousands of Paradox tables, keys are typed, "< Back" is clicked,
# another folder is typed as if into the folder field, and "Select All", both delete buttons,
# "Send Table/s To Oracle" and "Help" are clicked. None of it reaches the program, during the
# delete or after: exactly the selected files go, from the folder the delete started on, no box
# comes up, and the focus stays on the button that started the delete.
check_input_dropped_during_delete() {
    local many=$work/many decoy=$work/decoy count=20000
    echo "Typing and clicking while $count Paradox tables are being deleted"
    mkdir -p "$many" "$decoy"
    seq -f "$many/T%05g.DB" 1 "$count" | xargs touch
    cp "$pdx/CLIENTS.DB" "$decoy/"
    seq -f "$decoy/D%05g.DB" 1 50 | xargs touch

    activate "$form2"
    click_control "$form2" 0 0 120 4980 3840 405 # < Back
    wait_until "the connection screen" connection_screen_shown
    click_control "$form1" 120 120 1680 360 5175 345 # Text1
    xdotool key ctrl+a
    type_text "$many"
    wait_until "the folder of $count tables in the settings" setting_is ParadoxFolder "$many"
    click_control "$form1" 0 0 120 4230 7800 400 # Next >
    wait_until "the tables screen with $count tables" tables_screen_shown
    activate "$form2"
    # Every table but the first: "Select All" makes the first entry current, Ctrl+click drops it.
    click_control "$form2" 4080 120 240 2100 1600 405 # Select All
    ctrl_click_first_entry "$form2" $((4080 + 240)) $((120 + 360))
    local oracle_before
    oracle_before=$(server_tables)

    click_control "$form2" 4080 120 240 3100 3330 405 # Delete Table/s
    # At once, quickly, while it runs.
    xdotool type --delay 5 -- "T0 " # into the button that took the focus: space presses it
    click_control "$form2" 4080 120 240 2100 1600 405 # Select All
    click_control "$form2" 4080 120 240 3100 3330 405 # Delete Table/s, Paradox, again
    click_control "$form2" 120 120 240 3100 3330 400  # Delete Table/s, Oracle
    click_control "$form2" 4080 120 240 2600 3330 405 # Send Table/s To Oracle
    click_control "$form2" 0 0 120 4980 3840 405      # < Back
    click_control "$form2" 0 0 4080 4980 3840 405     # Help
    xdotool key ctrl+a
    xdotool type --delay 5 -- "$decoy"
    xdotool key Return
    local left
    left=$(find "$many" -name '*.DB' | wc -l)
    ((left > 1)) ||
        fail "the delete had ended before the input was sent; it proves nothing (use more tables)"
    echo "  the input went in with $left of $count tables left"

    only_the_first_left() { [[ "$(ls "$many")" == T00001.DB ]]; }
    deleted_or_box() { has_box '.' || only_the_first_left; }
    wait_until "every selected table deleted" deleted_or_box
    check_no_box "during a delete given input"
    sleep 3 # time for input kept back to run, were any kept
    only_the_first_left || fail "input given during the delete deleted the table left out of it"
    [[ "$(find "$decoy" -name '*.DB' | wc -l)" == 51 ]] || fail "files went in the other folder"
    tables_screen_shown || fail "\"< Back\" reached the tables screen"
    setting_is ParadoxFolder "$many" || fail "the folder typed during the delete reached the field"
    [[ "$(server_tables)" == "$oracle_before" ]] || fail "the Oracle tables changed"
    check_no_box "after input during a delete"
    # The dropped clicks moved no focus: Space presses "Delete Table/s" again, which finds nothing
    # selected and says nothing, not "Help" (a box) nor "< Back".
    xdotool key space
    sleep 2
    check_no_box "Space after clicks during a delete"
    tables_screen_shown || fail "Space after clicks during a delete left the tables screen"
    only_the_first_left || fail "Space after clicks during a delete deleted the table left out"
}

# Closing the connection screen while its Oracle test waits for a server that takes the socket
# and never answers ends the program at once, not after the 30 s the test waits.
check_close_during_silent_login() {
    echo "Closing the window while the Oracle test waits for a server that never answers"
    local silent=$work/silent empty=$work/empty silent_pid
    mkdir -p "$silent" "$empty"
    "$build/bin/silent_server" "$silent" &
    silent_pid=$!
    # The saved folder holds no table, so the start-up does not try the silent server itself.
    printf '[Quorvex]\nParadoxFolder=%s\nServer=%s\nUser=scott\nPassword=tiger\n' "$empty" \
        "$silent" >"$work/config/Veltrane.conf"
    form1=""
    form2=""
    start_program
    wait_until "the connection screen" first_main_window
    form1=$(program_windows '^Quorvex' | head -n 1)
    activate "$form1"
    local clicked_at=$SECONDS
    click_control "$form1" 120 1680 240 1800 3600 405 # Test Connection (Oracle)
    sleep 2
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended before it was closed"
    close_program "$form1"
    kill "$silent_pid" 2>/dev/null || true
    wait "$silent_pid" 2>/dev/null || true
    # Kept back, the close would have waited for the test's end, 30 s after the click, and then
    # met its "Could not connect" box.
    echo "  the program ended $((SECONDS - clicked_at)) s after the click on Test Connection"
    ((SECONDS - clicked_at < 25)) || fail "the close waited for the test to give up"
}

# ================================================================================================

echo "Installing into a temporary prefix"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    fail "cmake --install failed: $(tail -n 5 "$work/install.log")"
[[ -L "$prefix/bin/quorvex" && "$(readlink "$prefix/bin/quorvex")" == ../lib/quorvex/quorvex ]] ||
    fail "PREFIX/bin/quorvex is not the relative link to ../lib/quorvex/quorvex"
for file in lib/quorvex/quorvex lib/quorvex/HAND-M.CUR lib/quorvex/x/o.cjs lib/quorvex/quorvex.png \
    lib/quorvex/Samples/CUSTOMER.DB share/applications/quorvex.desktop \
    share/icons/hicolor/64x64/apps/quorvex.png; do
    [[ -f "$prefix/$file" ]] || fail "not installed: $file"
done

echo "Preparing a Paradox folder and the server"
pdx=$work/tables
mkdir -p "$pdx"
samples=$prefix/lib/quorvex/Samples
cp "$samples/CUSTOMER.DB" "$samples/CUSTOMER.MB" "$samples/ORDERS.DB" "$samples/parts.db" \
    "$samples/parts.MB" "$pdx/"
drop_test_tables
# A table of the same name as one to be sent: the program must ask before it replaces it.
server_sql 'CREATE TABLE "ORDERS" (stale varchar(10)); INSERT INTO "ORDERS" VALUES ('"'old'"')'

x_status=0
start_x_session "$work" || x_status=$?
if ((x_status == 1)); then
    echo "SKIPPED: no virtual X display could be started (Xvfb): $x_session_error"
    exit "$skip_code"
elif ((x_status != 0)); then
    fail "$x_session_error"
fi

echo "Starting the installed program on display $DISPLAY"
mkdir -p "$work/config"
start_program

form1=""
form2=""
wait_until "the connection screen" first_main_window
form1=$(program_windows '^Quorvex' | head -n 1)
check_title "$form1" Quorvex
measure_window "$form1"
check_centred "the connection screen"
activate "$form1"

# Connection screen: frames at (120,120) and (120,1680), in twips.
echo "Connection screen: the sample folder"
click_control "$form1" 120 120 240 840 3600 405 # Load Sample/Example Database
wait_until "the sample folder in the settings" setting_is ParadoxFolder "$samples"

echo "Connection screen: the folder picker, cancelled"
click_control "$form1" 120 120 6945 360 600 345 # ...
wait_for_box "Please select folder:"
answer_box Escape
setting_is ParadoxFolder "$samples" || fail "cancelling the folder picker changed the folder"

click_control "$form1" 120 120 3960 840 3600 405 # Test Connection (Paradox)
wait_for_box Quorvex
success_width=$box_width
answer_box Return

echo "Connection screen: folder and login"
click_control "$form1" 120 120 1680 360 5175 345 # Text1
xdotool key ctrl+a
type_text "$pdx"
wait_until "the typed folder in the settings" setting_is ParadoxFolder "$pdx"
click_control "$form1" 120 1680 1320 360 6255 330 # Text2 (SID)
type_text "$QUORVEX_TEST_SID"
click_control "$form1" 120 1680 1320 840 6255 330 # Text3 (user name)
type_text scott
click_control "$form1" 120 1680 1320 1320 6255 330 # Text4 (password)
type_text wrong
wait_until "the typed password in the settings" setting_is Password wrong

mark_log
click_control "$form1" 120 1680 240 1800 3600 405 # Test Connection (Oracle)
wait_for_box Quorvex
# The refusal's text is longer than "Connection successful.", so its box is wider.
((box_width > success_width)) ||
    fail "a wrong password gave a box as narrow as a success ($box_width <= $success_width px)"
answer_box Return
log_has 'password authentication failed for user "scott"' ||
    fail "the server saw no failed login for the wrong password"

click_control "$form1" 120 1680 1320 1320 6255 330
xdotool key ctrl+a
type_text tiger
wait_until "the corrected password in the settings" setting_is Password tiger
click_control "$form1" 120 1680 240 1800 3600 405
wait_for_box Quorvex
((box_width == success_width)) ||
    fail "the right login did not give the success box ($box_width != $success_width px)"
answer_box Return

echo "Next >"
click_control "$form1" 0 0 120 4230 7800 400
tables_screen_up() {
    is_hidden "$form1" && [[ -n "$(program_windows '^Quorvex$')" ]]
}
wait_until "the tables screen" tables_screen_up
form2=$(program_windows '^Quorvex$' | head -n 1)
check_tables_screen_first_showing "after Next >"

echo "< Back, then Next > again"
click_control "$form2" 0 0 120 4980 3840 405 # < Back
back_on_connection_screen() { is_visible "$form1" && is_hidden "$form2"; }
wait_until "the connection screen again" back_on_connection_screen
click_control "$form1" 0 0 120 4230 7800 400 # Next >
tables_screen_again() { is_hidden "$form1" && is_visible "$form2"; }
wait_until "the tables screen again" tables_screen_again
measure_window "$form2"
check_tables_screen_height "after < Back and Next >"
check_centred "the tables screen after < Back and Next >"
activate "$form2"

# Tables screen: Oracle frame at (120,120), Paradox frame at (4080,120), lists at (240,360).
echo "Send Table/s To Oracle: CUSTOMER and ORDERS, replacing the server's ORDERS"
click_first_entry "$form2" $((4080 + 240)) $((120 + 360)) # CUSTOMER
xdotool key shift+Down                                     # and ORDERS, not PARTS
mark_log
click_control "$form2" 4080 120 240 2600 3330 405 # Send Table/s To Oracle
wait_for_box "Overwrite?"
answer_box Return # Yes, the default button

for table in CUSTOMER ORDERS; do
    expected=$(file_rows "$pdx/$table.DB")
    copied() { server_has_table "$1" && [[ "$(server_rows "$1")" == "$2" ]]; }
    wait_until "$expected rows of $table on the server" copied "$table" "$expected"
    [[ "$(server_columns "$table")" == "$(file_fields "$pdx/$table.DB")" ]] ||
        fail "$table on the server has not one column per field of its table file"
done
server_lacks_table PARTS || fail "PARTS was sent although it was not selected"
log_has 'DROP TABLE "ORDERS"' || fail "the old ORDERS was not dropped"
echo "  copied $(server_rows CUSTOMER) + $(server_rows ORDERS) rows"

echo "Paradox side: rename CUSTOMER to CLIENTS"
click_first_entry "$form2" $((4080 + 240)) $((120 + 360)) # CUSTOMER alone
click_control "$form2" 4080 120 240 3600 3330 405         # Rename Table
wait_for_box Quorvex
xdotool key ctrl+a
type_text CLIENTS
answer_box Return
renamed() { [[ -f "$pdx/CLIENTS.DB" && ! -e "$pdx/CUSTOMER.DB" ]]; }
wait_until "CUSTOMER.DB renamed to CLIENTS.DB" renamed
cmp -s "$pdx/CLIENTS.DB" "$samples/CUSTOMER.DB" || fail "CLIENTS.DB is not CUSTOMER.DB's copy"

echo "Paradox side: delete PARTS"
click_first_entry "$form2" $((4080 + 240)) $((120 + 360)) # CLIENTS
xdotool key End                                           # PARTS alone
click_control "$form2" 4080 120 240 3100 3330 405         # Delete Table/s
parts_deleted() { [[ ! -e "$pdx/parts.db" ]]; }
wait_until "parts.db deleted" parts_deleted
[[ -f "$pdx/CLIENTS.DB" && -f "$pdx/ORDERS.DB" ]] || fail "a table that was not selected went"

echo "Oracle side: rename CUSTOMER (the test server refuses RENAME by design)"
mark_log
click_first_entry "$form2" $((120 + 240)) $((120 + 360)) # CUSTOMER
click_control "$form2" 120 120 240 3600 3330 400         # Rename Table
wait_for_box Quorvex
xdotool key ctrl+a
type_text CUSTOMERS
answer_box Return
wait_for_box "Application Error"
answer_box Return
log_has 'RENAME "CUSTOMER" TO "CUSTOMERS"' || fail "the RENAME statement did not reach the server"
server_has_table CUSTOMER || fail "CUSTOMER went missing on the server"

echo "Oracle side: delete ORDERS"
mark_log
click_first_entry "$form2" $((120 + 240)) $((120 + 360)) # CUSTOMERS (the list took the new name)
xdotool key Down                                         # ORDERS alone
click_control "$form2" 120 120 240 3100 3330 400         # Delete Table/s
wait_until "ORDERS dropped on the server" server_lacks_table ORDERS
server_has_table CUSTOMER || fail "CUSTOMER was dropped although it was not selected"
log_has 'DROP TABLE "ORDERS"' || fail "no DROP TABLE statement for ORDERS in the server log"

check_double_click_sends_once
check_input_dropped_during_delete

echo "Closing the window ends the program"
close_program "$form2"
setting_is User scott && setting_is Server "$QUORVEX_TEST_SID" ||
    fail "the login was not kept in the settings"

# Start-up failures are reported before any window of the program is up: each box stands on
# its own in the middle of the screen, and a 5,000-character folder still gives a box that fits.
echo "A start with a damaged skin and a 5,000-character folder"
saved_settings=$(cat "$work/config/Veltrane.conf")
long_folder=/$(printf 'Paradox tables %.0s' $(seq 1 333))
sed -i "s|^ParadoxFolder=.*|ParadoxFolder=$long_folder|; s|^Server=.*|Server=$work/no-server|" \
    "$work/config/Veltrane.conf"
cp "$prefix/lib/quorvex/x/o.cjs" "$work/o.cjs"
printf 'QPushButton { color: red' >"$prefix/lib/quorvex/x/o.cjs"
form1=""
form2=""
start_program
for failure in "the damaged skin" "the 5,000-character folder"; do
    wait_for_box "Application Error"
    measure_window "$box"
    check_centred "the report of $failure"
    answer_box Return
done
wait_until "the connection screen" first_main_window
close_program "$(program_windows '^Quorvex' | head -n 1)"
cp "$work/o.cjs" "$prefix/lib/quorvex/x/o.cjs"

echo "A start that opens the tables screen by itself"
printf '%s\n' "$saved_settings" >"$work/config/Veltrane.conf"
start_program
wait_until "the tables screen" first_main_window
form2=$(program_windows '^Quorvex' | head -n 1)
check_tables_screen_first_showing "at start-up"
close_program "$form2"

check_close_during_silent_login

# Every statement sent through ODBC (the program's, and the tests' before it) is one Oracle takes.
"$build/bin/check_oracle_statements" "$QUORVEX_TEST_LOG" ||
    fail "the server log holds statements Oracle would refuse (listed above)"

echo "The longest wait: ${longest_wait} s (of ${wait_limit}), for: $longest_wait_for"
echo "PASSED: the installed program worked in a real window from start to close"
