#!/usr/bin/env bash
# Settles against a real Oracle server what the test server cannot show: sends tables made for
# each case with `quorvex send`, as a user would, row by row, with --bulk and with --jobs 2, checks
# them with `quorvex verify`, and reads back through unixODBC what arrived beside what was sent.
#
#   QUORVEX_PASSWORD=... tools/oracle-check/oracle-check.sh --sid SID --user USER \
#       [--build DIR] [--lost-connection]
#
# SID is what you type into Quorvex's SID field (a TNS alias or host:port/service); the Oracle
# ODBC driver is found as Quorvex finds it (README.md, "Reaching a real Oracle server"). DIR is a
# build of Quorvex (default: build-test, then build); `cmake --build DIR --target quorvex
# make_oracle_check_tables oracle_check_driver` makes what is needed. The tables it makes all start
# with QVX_ and are left on the server to look at; the last lines say how to drop them.
#
# The cases, and what to look for:
#   1. the database's character sets (NLS_CHARACTERSET, NLS_NCHAR_CHARACTERSET), its version
#      and COMPATIBLE, and the name limits and character sets as the driver gives them to Quorvex;
#   2. texts outside ASCII (QVX_TEXTS, QVX_CJK): on a database that is not Unicode they go as
#      bound wide values into NVARCHAR2 and must arrive unchanged (a "?" or "¿" means loss);
#   3. a table name the database character set cannot hold (QVX_日本): refused with a report
#      naming the character and the set on a database that is not Unicode (every name outside
#      ASCII on JA16SJIS), created otherwise;
#   4. long binary binds and their order (QVX_LOB): a 3,000-byte picture before a memo bound as
#      4,500 bytes, a 5 MB picture, pictures of 2,000 (a literal) and 2,001 bytes (bound): every
#      row must arrive whole (no ORA-24816, ORA-22295, ORA-01461 or HY104);
#   5. name limits (QVX_A_TABLE_NAME_OF_FORTY_BYTES_12345678, QVX_FIELDS with a field name of 35
#      bytes in UTF-8): refused with a report before CREATE TABLE on a server before 12.2 (or with
#      COMPATIBLE below 12.2), created on a newer one;
#   6. every field type (QVX_TYPES, QVX_TYPES2: numbers such as 1E+15 in FLOAT, dates, times,
#      Booleans, memos of 1,000 to 2,000 characters, pictures of 100 to 3,000 bytes, BCD, bytes)
#      and QVX_LOB, sent row by row, with --bulk (arrays of bound values: any row status the
#      driver gives, LOBs in arrays) and with --bulk --jobs 2 (log-ins at once): every send exit
#      status 0, and `quorvex verify` after each says every table is the same (exit status 0);
#   7. a bulk send stopped with Ctrl+C (SIGINT): the abandoned table is dropped with PURGE, so the
#      recycle bin holds no more QVX_MANY than before;
#   8. send --native (QVX_NATIVE, every field type, keyed): sent row by row under a German
#      session (NLS_LANG decimal comma and date order) and in bulk; Oracle's types as
#      user_tab_columns names them, the primary key, the values as DUMP shows them (the doubles
#      103945.00000000003 and 0.16999999999999998 bit for bit, infinity, 4.9E-324, 18 BCD
#      decimals, 20:09:17.928, 10:53:53.123, a 100,000-character memo), and verify --native,
#      which must say "same" both times (no ORA-01722, ORA-01861 or ORA-24816 on the way);
#   9. with --lost-connection: QVX_MANY (50,000 rows) is sent, row by row and then with --bulk,
#      while this script ends the program's session with ALTER SYSTEM KILL SESSION (when the user
#      may; otherwise it says so, and you end the session yourself): exactly one failure report
#      must follow, and the command must end.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
sid="" user="" build="" lost_connection=0

usage() {
    sed -n '2,13p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//' >&2
    exit 2
}

while (($#)); do
    case "$1" in
        --sid) sid=${2:-} && shift ;;
        --user) user=${2:-} && shift ;;
        --build) build=${2:-} && shift ;;
        --lost-connection) lost_connection=1 ;;
        *) usage ;;
    esac
    shift
done
[[ -n "$sid" && -n "$user" ]] || usage
if [[ -z "$build" ]]; then
    for build in "$root/build-test" "$root/build"; do
        [[ -x "$build/bin/quorvex" ]] && break
    done
fi
program=$build/bin/quorvex
tables_tool=$build/bin/make_oracle_check_tables
driver_tool=$build/bin/oracle_check_driver
[[ -x "$program" && -x "$tables_tool" && -x "$driver_tool" ]] || {
    echo "No quorvex, make_oracle_check_tables and oracle_check_driver in $build/bin: build them first." >&2
    exit 2
}
if [[ -z "${QUORVEX_PASSWORD:-}" ]]; then
    read -r -s -p "Password for $user: " QUORVEX_PASSWORD && echo
fi
export QUORVEX_PASSWORD
# Oracle's client converts to this character set on the way to isql and to Quorvex.
export NLS_LANG=${NLS_LANG:-AMERICAN_AMERICA.AL32UTF8}

# The driver Quorvex would use: one registered as "Microsoft ODBC for Oracle" takes the SID as
# Server, the first other one with "Oracle" in its name takes it as DBQ.
drivers=$(odbcinst -q -d 2>/dev/null | tr -d '[]')
if driver=$(grep -i -m 1 -x 'Microsoft ODBC for Oracle' <<<"$drivers"); then
    connection="Driver={$driver};Server=$sid;Uid=$user;Pwd=$QUORVEX_PASSWORD;"
elif driver=$(grep -i -m 1 oracle <<<"$drivers"); then
    connection="Driver={$driver};DBQ=$sid;Uid=$user;Pwd=$QUORVEX_PASSWORD;"
else
    echo "No Oracle ODBC driver is registered with unixODBC (odbcinst -q -d)." >&2
    exit 1
fi

# One statement through isql; its rows with "|" between the values, or its error.
sql() { isql -k -b -v -d'|' "$connection" <<<"$1" 2>&1 | sed 's/[[:space:]]*$//'; }

work=$(mktemp -d /tmp/qvx-oracle-check-XXXXXX)
trap 'rm -rf -- "$work"' EXIT
mkdir -p "$work/tables" "$work/config"

echo "== 1. The database (driver: $driver)"
sql "SELECT parameter, value FROM nls_database_parameters WHERE parameter IN ('NLS_CHARACTERSET', 'NLS_NCHAR_CHARACTERSET', 'NLS_RDBMS_VERSION')"
version=$(sql "SELECT value FROM nls_database_parameters WHERE parameter = 'NLS_RDBMS_VERSION'")
oracle=0
[[ "$version" =~ ^[0-9] ]] && oracle=1
((oracle)) && sql "SELECT 'COMPATIBLE', value FROM v\$parameter WHERE name = 'compatible'"
((oracle)) || echo "(No NLS_RDBMS_VERSION: not an Oracle server; the readback uses the test server's SQL.)"
echo "What the driver and the database tell Quorvex:"
XDG_CONFIG_HOME=$work/config "$driver_tool" "$sid" "$user" 2>&1 | sed 's/^/    /'

"$tables_tool" "$work/tables" >"$work/expected.tsv" || exit 1
tables=(QVX_TEXTS QVX_CJK "QVX_日本" QVX_LOB QVX_A_TABLE_NAME_OF_FORTY_BYTES_12345678 QVX_FIELDS)

echo
echo "== Sending ${tables[*]} with quorvex send --overwrite"
# A settings folder of its own: no saved field or password of yours takes part.
XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen "$program" send --overwrite \
    --folder "$work/tables" --sid "$sid" --user "$user" "${tables[@]}" \
    >"$work/send.out" 2>"$work/send.err"
echo "exit status $?; reports and progress:"
sed 's/^/    /' "$work/send.err"
echo "summary:"
sed 's/^/    /' "$work/send.out"

echo
echo "== Tables on the server"
sql "SELECT table_name FROM user_tables WHERE table_name LIKE 'QVX%' ORDER BY 1"

compare() {
    local what=$1 sent=$2 arrived=$3
    if [[ "$sent" == "$arrived" ]]; then
        printf '    OK       %s: %s\n' "$what" "$arrived"
    else
        printf '    DIFFERS  %s: sent [%s], arrived [%s]\n' "$what" "$sent" "$arrived"
    fi
}

echo
echo "== 2, 3. Texts, as they arrived"
while IFS=$'\t' read -r kind table id text; do
    [[ "$kind" == text ]] || continue
    compare "$table $id" "$text" "$(sql "SELECT \"Text\" FROM \"$table\" WHERE \"Id\" = $id")"
done <"$work/expected.tsv"
((oracle)) && sql "SELECT \"Id\", DUMP(\"Text\", 1016) FROM \"QVX_CJK\" ORDER BY 1"

echo
echo "== 4. Pictures and memos, as they arrived (length, first and last 16 bytes, memo length)"
if ((oracle)); then
    lob_query='SELECT "Id", DBMS_LOB.GETLENGTH("Picture"), RAWTOHEX(DBMS_LOB.SUBSTR("Picture", 16, 1)), RAWTOHEX(DBMS_LOB.SUBSTR("Picture", 16, DBMS_LOB.GETLENGTH("Picture") - 15)), NVL(LENGTH("Memo"), 0) FROM "QVX_LOB" ORDER BY 1'
else
    lob_query='SELECT "Id", length("Picture"), upper(encode(substring("Picture" from 1 for 16), '"'hex'"')), upper(encode(substring("Picture" from length("Picture") - 15 for 16), '"'hex'"')), coalesce(length("Memo"), 0) FROM "QVX_LOB" ORDER BY 1'
fi
arrived=$(sql "$lob_query")
while IFS=$'\t' read -r kind table id length first last memo; do
    [[ "$kind" == bytes ]] || continue
    compare "$table $id" "$id|$length|$first|$last|$memo" "$(grep "^$id|" <<<"$arrived")"
done <"$work/expected.tsv"

echo
echo "== 5. Names over 30 bytes: created on 12.2 and later, refused with a report before that"
sql "SELECT table_name FROM user_tables WHERE table_name IN ('QVX_A_TABLE_NAME_OF_FORTY_BYTES_12345678', 'QVX_FIELDS')"

# Runs the program with a settings folder of its own: no saved field or password of yours takes
# part. Its standard output and error go to $work/NAME.out and .err.
quorvex() {
    local name=$1
    shift
    XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen "$program" "$@" \
        --folder "$work/tables" --sid "$sid" --user "$user" >"$work/$name.out" 2>"$work/$name.err"
}

every_type=(QVX_TYPES QVX_TYPES2 QVX_LOB)
check_sent_and_verified() {
    local name=$1 status=$2 verified
    if ((status == 0)); then
        printf '    OK       %s: every row arrived\n' "$name"
    else
        printf '    DIFFERS  %s: exit status %s\n' "$name" "$status"
        sed 's/^/        /' "$work/$name.err" "$work/$name.out"
    fi
    quorvex "$name-verify" verify "${every_type[@]}"
    verified=$?
    if ((verified == 0)); then
        printf '    OK       verify after %s: %s\n' "$name" "$(tail -n 1 "$work/$name-verify.out")"
    else
        printf '    DIFFERS  verify after %s: exit status %s\n' "$name" "$verified"
        sed 's/^/        /' "$work/$name-verify.out" "$work/$name-verify.err"
    fi
}

echo
echo "== 6. Every field type: row by row, with --bulk, with --bulk --jobs 2; verify after each"
quorvex rows send --overwrite "${every_type[@]}"
check_sent_and_verified rows $?
quorvex bulk send --bulk --overwrite "${every_type[@]}"
check_sent_and_verified bulk $?
quorvex jobs send --bulk --jobs 2 --overwrite "${every_type[@]}"
check_sent_and_verified jobs $?

in_recycle_bin() {
    sql "SELECT COUNT(*) FROM user_recyclebin WHERE original_name = 'QVX_MANY'" | grep -m 1 -x '[0-9]*'
}

echo
echo "== 7. A bulk send stopped with Ctrl+C: the abandoned table goes with PURGE"
if ((oracle)); then
    sql 'DROP TABLE "QVX_MANY" PURGE' >/dev/null
    before=$(in_recycle_bin)
else
    sql 'DROP TABLE "QVX_MANY"' >/dev/null
fi
quorvex stopped send --bulk --overwrite QVX_MANY &
send=$!
for _ in $(seq 1 300); do
    [[ "$(sql "SELECT COUNT(*) FROM user_tables WHERE table_name = 'QVX_MANY'" | grep -x '[0-9]*')" == 1 ]] && break
    sleep 0.2
done
kill -INT "$send" 2>/dev/null || echo "    (the send ended before it could be stopped)"
wait "$send"
echo "    send: exit status $?; $(grep -m 1 'QVX_MANY' "$work/stopped.out")"
[[ "$(sql "SELECT COUNT(*) FROM user_tables WHERE table_name = 'QVX_MANY'" | grep -x '[0-9]*')" == 0 ]] &&
    echo "    OK       QVX_MANY is gone" || echo "    DIFFERS  QVX_MANY is still there"
if ((oracle)); then
    after=$(in_recycle_bin)
    if [[ -n "$before" && "$before" == "$after" ]]; then
        echo "    OK       the recycle bin holds as many QVX_MANY as before ($after)"
    else
        echo "    DIFFERS  QVX_MANY in the recycle bin: $before before, $after after"
    fi
fi

echo
echo "== 8. send --native: Oracle's own types, exact values, the key after the rows"
for mode in rows bulk; do
    if [[ $mode == rows ]]; then
        bulk=() nls=GERMAN_GERMANY.AL32UTF8
    else
        bulk=(--bulk) nls=$NLS_LANG
    fi
    NLS_LANG=$nls XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen "$program" send \
        --native "${bulk[@]}" --overwrite --folder "$work/tables" --sid "$sid" --user "$user" \
        QVX_NATIVE >"$work/native.out" 2>"$work/native.err"
    echo "send --native ${bulk[*]} (NLS_LANG=$nls): exit status $? (0 expected)"
    sed 's/^/    /' "$work/native.err"
    XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen "$program" verify --native \
        --folder "$work/tables" --sid "$sid" --user "$user" QVX_NATIVE >"$work/verify.out" 2>&1
    echo "verify --native: exit status $? (0 expected)"
    sed 's/^/    /' "$work/verify.out"
done
sql "SELECT column_name, data_type, char_length, data_length, data_precision, data_scale FROM user_tab_columns WHERE table_name = 'QVX_NATIVE' ORDER BY column_id"
sql "SELECT constraint_name, constraint_type FROM user_constraints WHERE table_name = 'QVX_NATIVE'"
if ((oracle)); then
    sql 'SELECT "Id", DUMP("Number", 16), DUMP("Money", 16), TO_CHAR("Exact"), TO_CHAR("At"), TO_CHAR("Stamp", '"'YYYY-MM-DD HH24:MI:SS.FF3'"'), RAWTOHEX("Tag"), DBMS_LOB.GETLENGTH("Memo"), DBMS_LOB.GETLENGTH("Picture") FROM "QVX_NATIVE" ORDER BY 1'
fi

# Ends the program's own session: it is the one whose program names Quorvex. True when the kill
# went through; else says why it cannot.
kill_program_session() {
    local session answer
    session=$(sql "SELECT sid || ',' || serial# FROM v\$session WHERE username = UPPER('$user') AND LOWER(program) LIKE '%quorvex%' AND sid <> SYS_CONTEXT('USERENV', 'SID')" |
        grep -m 1 -x '[0-9]*,[0-9]*')
    if [[ -z "$session" ]]; then
        echo "    cannot end the session: v\$session shows none of Quorvex to $user (no SELECT on v\$session?)"
        return 1
    fi
    answer=$(sql "ALTER SYSTEM KILL SESSION '$session' IMMEDIATE")
    if grep -q 'ORA-' <<<"$answer"; then
        echo "    cannot end the session $session: $(grep -m 1 'ORA-' <<<"$answer")"
        return 1
    fi
    echo "    ended the session $session"
}

lost_connection_case() {
    local name=$1 send reports
    shift
    echo "-- $name"
    quorvex "lost-$name" send --overwrite "$@" QVX_MANY &
    send=$!
    sleep 5
    if ! kill_program_session; then
        echo "    End it yourself now (as a DBA: ALTER SYSTEM KILL SESSION); waiting up to 10 minutes."
        echo "    Stopping the listener does not end a session that is connected already."
    fi
    for _ in $(seq 1 600); do
        kill -0 "$send" 2>/dev/null || break
        sleep 1
    done
    if kill -0 "$send" 2>/dev/null; then
        kill -INT "$send"
        echo "    DIFFERS  the command did not end by itself"
    fi
    wait "$send"
    echo "    exit status $?; reports:"
    grep -v '^$' "$work/lost-$name.err" | sed 's/^/        /'
    reports=$(grep -c -e ' at line ' -e '^quorvex send: ' "$work/lost-$name.err")
    if ((reports == 1)); then
        echo "    OK       one report, and the command ended"
    else
        echo "    DIFFERS  $reports reports (one was expected)"
    fi
}

if ((lost_connection)); then
    echo
    echo "== 9. A lost connection: QVX_MANY (50,000 rows) while its session is ended"
    lost_connection_case rows
    lost_connection_case bulk --bulk
fi

echo
echo "To drop the tables this made (PURGE: not into the recycle bin):"
for table in "${tables[@]}" QVX_TYPES QVX_TYPES2 QVX_MANY QVX_NATIVE; do
    echo "    DROP TABLE \"$table\" PURGE;"
done
