# shellcheck shell=bash
# The recipe shared by the test server (scripts/test-server.sh) and the run command's practice
# server (scripts/practice-server.sh): PostgreSQL with the orafce extension on a Unix socket only,
# with the login scott/tiger, reached through psqlODBC registered for unixODBC under the driver
# name the program asks for. Source it; the functions exit with a one-line reason on failure.
#
#   pg_bin                          the folder of pg_ctl, initdb and psql
#   server_account                  the account that runs the server: root's is postgres
#   as_account ACCOUNT CMD...       runs CMD as ACCOUNT
#   psqlodbc_driver                 the path of psqlodbcw.so
#   socket_fits SOCKDIR             true when the socket path in SOCKDIR stays within 107 bytes
#   pg_create_cluster DATA SOCKDIR ACCOUNT
#                                   initdb into DATA as ACCOUNT, listening only on SOCKDIR; the
#                                   superuser's random password is left in $pg_superuser_password
#   pg_start DATA LOG               starts the server of DATA as DATA's owner, logging to LOG
#   pg_create_login SOCKDIR         creates scott/tiger with its own schema and orafce, and what
#                                   makes the server look like Oracle (oracle_lookalikes_sql)
#   oracle_lookalikes_sql           prints the SQL, run by the superuser in database scott, that
#                                   gives the server Oracle's view of the character sets and a
#                                   BLOB column that takes a long binary bind, then
#                                   oracle_native_types_sql; running it again changes nothing
#   oracle_native_types_sql         prints the SQL that gives the server the Oracle column types
#                                   and conversion functions of the native copy
#   pg_add_lookalikes_offline DATA  runs that SQL on the stopped server of DATA (an older one)
#   pg_stop DATA                    stops the server of DATA (fast, else immediate)
#   write_odbc_registry DIR TEXT    writes DIR/odbcinst.ini (and an empty DIR/odbc.ini)

readonly pg_socket_name=".s.PGSQL.5432"
readonly pg_socket_limit=107
pg_superuser_password=""

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

socket_fits() {
    local socket="$1/$pg_socket_name"
    ((${#socket} <= pg_socket_limit))
}

pg_create_cluster() {
    local data=$1 sockdir=$2 account=$3 bin pwfile
    bin=$(pg_bin)
    pg_superuser_password=$(head -c 32 /dev/urandom | base64 | tr -dc 'A-Za-z0-9')
    pwfile=$(dirname "$data")/superuser.pw
    (umask 077 && printf '%s\n' "$pg_superuser_password" >"$pwfile")
    chown "$account" "$pwfile"
    as_account "$account" "$bin/initdb" -D "$data" -U postgres --pwfile="$pwfile" \
        --auth=scram-sha-256 -E UTF8 --locale=C.UTF-8 --no-sync --no-instructions >/dev/null
    rm -f "$pwfile"
    cat >>"$data/postgresql.conf" <<CONF
# Socket only: no TCP port to clash with or to reach from outside.
listen_addresses = ''
unix_socket_directories = '$sockdir'
unix_socket_permissions = 0777
lc_messages = 'C'
log_line_prefix = '%m [%p] %q%u@%d '
CONF
}

pg_start() {
    local data=$1 log=$2 bin
    bin=$(pg_bin)
    as_account "$(stat -c %U "$data")" "$bin/pg_ctl" -D "$data" -l "$log" -w -t 60 start \
        >/dev/null
}

pg_create_login() {
    local sockdir=$1 bin superuser_psql
    bin=$(pg_bin)
    superuser_psql=(env -u PGHOST -u PGUSER -u PGDATABASE PGPASSWORD="$pg_superuser_password"
        "$bin/psql" -X -q -v ON_ERROR_STOP=1 -h "$sockdir" -U postgres)
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
    oracle_lookalikes_sql | "${superuser_psql[@]}" -d scott
}

oracle_lookalikes_sql() {
    cat <<'SQL'
SET client_min_messages = warning;

-- Oracle's NLS_DATABASE_PARAMETERS, answering a Unicode database. The login owns the view, so a
-- test can declare another character set with CREATE OR REPLACE VIEW.
CREATE OR REPLACE VIEW scott.nls_database_parameters AS
  SELECT parameter::varchar(128) AS parameter, value::varchar(64) AS value
    FROM (VALUES ('NLS_CHARACTERSET', 'AL32UTF8'), ('NLS_NCHAR_CHARACTERSET', 'AL16UTF16'))
         AS p(parameter, value);

ALTER VIEW scott.nls_database_parameters OWNER TO scott;

-- Oracle reads a character literal into a BLOB as hex digits ('4142' stores the bytes 0x41 0x42);
-- PostgreSQL would store the text's own bytes. Before a row goes into a table with BLOB columns,
-- a value that is the text of a literal written in the statement itself, an even number of hex
-- digits, becomes the bytes those digits stand for. A bound value never stands in the statement
-- as such a literal (psqlODBC writes it as '\x...'), so it is stored as it came.
CREATE OR REPLACE FUNCTION public.quorvex_blob_hex_literals() RETURNS trigger
LANGUAGE plpgsql AS $$
DECLARE
  col record;
  raw bytea;
  digits text;
  changes jsonb := '{}';
BEGIN
  FOR col IN
    SELECT a.attname FROM pg_catalog.pg_attribute AS a
     WHERE a.attrelid = TG_RELID AND a.attnum > 0 AND NOT a.attisdropped
       AND a.atttypid = 'bytea'::regtype
  LOOP
    EXECUTE format('SELECT ($1).%I', col.attname) INTO raw USING NEW;
    -- Oracle converts at most 2,000 bytes of RAW, 4,000 hex digits.
    CONTINUE WHEN raw IS NULL OR octet_length(raw) > 4000 OR octet_length(raw) % 2 <> 0;
    digits := encode(raw, 'escape');
    IF digits ~ '^([0-9A-Fa-f]{2})+$'
       AND position(('''' || digits || '''') IN current_query()) > 0 THEN
      changes := changes || jsonb_build_object(col.attname, '\x' || digits);
    END IF;
  END LOOP;
  IF changes <> '{}' THEN
    NEW := jsonb_populate_record(NEW, changes);
  END IF;
  RETURN NEW;
END
$$;

-- psqlODBC takes a long binary bind (SQL_LONGVARBINARY, Oracle's way into a BLOB) into a bytea
-- column but not into one of the BLOB domain ("Could not convert binary other than LO type"), so
-- every blob column a CREATE TABLE makes becomes bytea at once, and its table reads short hex
-- literals as Oracle does (quorvex_blob_hex_literals); statements still say BLOB.
CREATE OR REPLACE FUNCTION public.quorvex_blob_columns_as_bytea() RETURNS event_trigger
LANGUAGE plpgsql AS $$
DECLARE
  col record;
  tab regclass;
BEGIN
  FOR col IN
    SELECT a.attrelid::regclass AS tab, a.attname
      FROM pg_event_trigger_ddl_commands() AS cmd
      JOIN pg_catalog.pg_attribute AS a ON a.attrelid = cmd.objid
     WHERE cmd.classid = 'pg_catalog.pg_class'::regclass AND cmd.objsubid = 0
       AND a.attnum > 0 AND NOT a.attisdropped
       AND a.atttypid = 'scott.blob'::regtype
  LOOP
    EXECUTE format('ALTER TABLE %s ALTER COLUMN %I TYPE bytea', col.tab, col.attname);
    IF tab IS DISTINCT FROM col.tab THEN
      tab := col.tab;
      EXECUTE format('CREATE TRIGGER quorvex_blob_hex_literals BEFORE INSERT ON %s '
                     'FOR EACH ROW EXECUTE FUNCTION public.quorvex_blob_hex_literals()', tab);
    END IF;
  END LOOP;
END
$$;

DROP EVENT TRIGGER IF EXISTS quorvex_blob_columns_as_bytea;

CREATE EVENT TRIGGER quorvex_blob_columns_as_bytea ON ddl_command_end
  WHEN TAG IN ('CREATE TABLE') EXECUTE FUNCTION public.quorvex_blob_columns_as_bytea();
SQL
    oracle_native_types_sql
}

# The native copy's Oracle column types that PostgreSQL lacks. A name without a size is a domain
# (NCLOB over text, BINARY_DOUBLE over double precision); NUMBER(p,s) and RAW(n) take a size, so
# they are base types made from PostgreSQL's own numeric and bytea functions (numeric's size
# rules, varchar's for RAW's length, which is not enforced). An event trigger then turns every
# such column into its PostgreSQL type, so that reading back and binding see plain numeric,
# bytea, text and double precision columns. Each statement ends with ";" and an empty line, and
# none inside a body does, for single-user mode (pg_add_lookalikes_offline).
oracle_native_types_sql() {
    cat <<'SQL'
SET client_min_messages = warning;

DO $do$
BEGIN
  IF to_regtype('scott.nclob') IS NULL THEN
    CREATE DOMAIN scott.nclob AS text;
    ALTER DOMAIN scott.nclob OWNER TO scott;
  END IF;
  IF to_regtype('scott.binary_double') IS NULL THEN
    CREATE DOMAIN scott.binary_double AS double precision;
    ALTER DOMAIN scott.binary_double OWNER TO scott;
  END IF;
  IF to_regtype('scott.number') IS NULL THEN
    CREATE TYPE scott.number;
    CREATE FUNCTION scott.number_in(cstring, oid, integer) RETURNS scott.number
      LANGUAGE internal IMMUTABLE STRICT AS 'numeric_in';
    CREATE FUNCTION scott.number_out(scott.number) RETURNS cstring
      LANGUAGE internal IMMUTABLE STRICT AS 'numeric_out';
    CREATE FUNCTION scott.number_recv(internal, oid, integer) RETURNS scott.number
      LANGUAGE internal IMMUTABLE STRICT AS 'numeric_recv';
    CREATE FUNCTION scott.number_send(scott.number) RETURNS bytea
      LANGUAGE internal IMMUTABLE STRICT AS 'numeric_send';
    CREATE FUNCTION scott.number_typmod_in(cstring[]) RETURNS integer
      LANGUAGE internal IMMUTABLE STRICT AS 'numerictypmodin';
    CREATE FUNCTION scott.number_typmod_out(integer) RETURNS cstring
      LANGUAGE internal IMMUTABLE STRICT AS 'numerictypmodout';
    CREATE TYPE scott.number (INPUT = scott.number_in, OUTPUT = scott.number_out,
      RECEIVE = scott.number_recv, SEND = scott.number_send,
      TYPMOD_IN = scott.number_typmod_in, TYPMOD_OUT = scott.number_typmod_out, LIKE = numeric);
    -- A CHECK in the CREATE TABLE compares the column before the trigger below retypes it.
    CREATE CAST (scott.number AS numeric) WITHOUT FUNCTION AS IMPLICIT;
  END IF;
  IF to_regtype('scott.raw') IS NULL THEN
    CREATE TYPE scott.raw;
    CREATE FUNCTION scott.raw_in(cstring) RETURNS scott.raw
      LANGUAGE internal IMMUTABLE STRICT AS 'byteain';
    CREATE FUNCTION scott.raw_out(scott.raw) RETURNS cstring
      LANGUAGE internal IMMUTABLE STRICT AS 'byteaout';
    CREATE FUNCTION scott.raw_recv(internal) RETURNS scott.raw
      LANGUAGE internal IMMUTABLE STRICT AS 'bytearecv';
    CREATE FUNCTION scott.raw_send(scott.raw) RETURNS bytea
      LANGUAGE internal IMMUTABLE STRICT AS 'byteasend';
    CREATE FUNCTION scott.raw_typmod_in(cstring[]) RETURNS integer
      LANGUAGE internal IMMUTABLE STRICT AS 'varchartypmodin';
    CREATE FUNCTION scott.raw_typmod_out(integer) RETURNS cstring
      LANGUAGE internal IMMUTABLE STRICT AS 'varchartypmodout';
    CREATE TYPE scott.raw (INPUT = scott.raw_in, OUTPUT = scott.raw_out,
      RECEIVE = scott.raw_recv, SEND = scott.raw_send,
      TYPMOD_IN = scott.raw_typmod_in, TYPMOD_OUT = scott.raw_typmod_out, LIKE = bytea);
  END IF;
END
$do$;

-- Oracle's conversions with a fixed format, as the native copy writes its values.
CREATE OR REPLACE FUNCTION scott.to_binary_double(text) RETURNS double precision
  LANGUAGE sql IMMUTABLE STRICT AS $$ SELECT $1::double precision $$;

CREATE OR REPLACE FUNCTION scott.to_dsinterval(text) RETURNS interval
  LANGUAGE sql IMMUTABLE STRICT AS $$ SELECT $1::interval $$;

CREATE OR REPLACE FUNCTION scott.hextoraw(text) RETURNS bytea
  LANGUAGE sql IMMUTABLE STRICT AS $$ SELECT decode($1, 'hex') $$;

CREATE OR REPLACE FUNCTION public.quorvex_native_columns() RETURNS event_trigger
LANGUAGE plpgsql AS $$
DECLARE
  col record;
BEGIN
  FOR col IN
    SELECT a.attrelid::regclass AS tab, a.attname,
           upper(format_type(a.atttypid, a.atttypmod)) AS oracle_type,
           CASE a.atttypid
             WHEN 'scott.number'::regtype THEN format_type('numeric'::regtype, a.atttypmod)
             WHEN 'scott.raw'::regtype THEN 'bytea'
             WHEN 'scott.nclob'::regtype THEN 'text'
             ELSE 'double precision'
           END AS native
      FROM pg_event_trigger_ddl_commands() AS cmd
      JOIN pg_catalog.pg_attribute AS a ON a.attrelid = cmd.objid
     WHERE cmd.classid = 'pg_catalog.pg_class'::regclass AND cmd.objsubid = 0
       AND a.attnum > 0 AND NOT a.attisdropped
       AND a.atttypid IN ('scott.number'::regtype, 'scott.raw'::regtype,
                          'scott.nclob'::regtype, 'scott.binary_double'::regtype)
  LOOP
    EXECUTE format('ALTER TABLE %s ALTER COLUMN %I TYPE %s USING NULL', col.tab, col.attname,
                   col.native);
    -- The Oracle type the column was made with, for user_tab_columns below.
    EXECUTE format('COMMENT ON COLUMN %s.%I IS %L', col.tab, col.attname,
                   regexp_replace(col.oracle_type, '^SCOTT\.', ''));
  END LOOP;
END
$$;

DROP EVENT TRIGGER IF EXISTS quorvex_native_columns;

CREATE EVENT TRIGGER quorvex_native_columns ON ddl_command_end
  WHEN TAG IN ('CREATE TABLE') EXECUTE FUNCTION public.quorvex_native_columns();

-- Oracle's views of the login's columns, constraints and indexes, with Oracle's type names (a
-- column retyped above by the one it was made with) and NULLABLE ('N' for NOT NULL, as a primary
-- key makes its columns); orafce's own list every schema. A new column of a view goes last.
CREATE OR REPLACE VIEW scott.user_tab_columns AS
  SELECT c.relname::varchar(128) AS table_name, a.attname::varchar(128) AS column_name,
         (CASE
            WHEN d.description IS NOT NULL THEN split_part(d.description, '(', 1)
            WHEN t.typname IN ('numeric', 'int2', 'int4', 'int8') THEN 'NUMBER'
            WHEN t.typname = 'float8' THEN 'FLOAT'
            WHEN t.typname = 'bytea' THEN 'BLOB'
            WHEN t.typname = 'interval' THEN 'INTERVAL DAY(2) TO SECOND(' ||
                 coalesce(substring(format_type(a.atttypid, a.atttypmod) FROM '\((\d+)\)'), '6') || ')'
            WHEN t.typname = 'timestamp' THEN 'TIMESTAMP(' || greatest(a.atttypmod, 0) || ')'
            ELSE upper(t.typname)
          END)::varchar(128) AS data_type,
         (CASE WHEN t.typname IN ('nvarchar2', 'varchar')
               THEN substring(format_type(a.atttypid, a.atttypmod) FROM '\((\d+)\)')::integer
               ELSE 0 END) AS char_length,
         (CASE WHEN d.description LIKE 'RAW(%'
               THEN substring(d.description FROM '\((\d+)\)')::integer END) AS data_length,
         (CASE WHEN t.typname = 'numeric' AND a.atttypmod >= 4
               THEN ((a.atttypmod - 4) >> 16) & 65535 END) AS data_precision,
         (CASE WHEN t.typname = 'numeric' AND a.atttypmod >= 4
               THEN (a.atttypmod - 4) & 65535 END) AS data_scale,
         a.attnum::integer AS column_id,
         (CASE WHEN a.attnotnull THEN 'N' ELSE 'Y' END)::varchar(1) AS nullable
    FROM pg_catalog.pg_class c
    JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace
    JOIN pg_catalog.pg_attribute a ON a.attrelid = c.oid AND a.attnum > 0 AND NOT a.attisdropped
    JOIN pg_catalog.pg_type t ON t.oid = a.atttypid
    LEFT JOIN pg_catalog.pg_description d
      ON d.objoid = c.oid AND d.classoid = 'pg_catalog.pg_class'::regclass AND d.objsubid = a.attnum
   WHERE n.nspname = current_user AND c.relkind IN ('r', 'p');

ALTER VIEW scott.user_tab_columns OWNER TO scott;

CREATE OR REPLACE VIEW scott.user_constraints AS
  SELECT k.conname::varchar(128) AS constraint_name,
         (CASE k.contype WHEN 'f' THEN 'R' ELSE upper(k.contype::text) END)::varchar(1)
           AS constraint_type,
         c.relname::varchar(128) AS table_name
    FROM pg_catalog.pg_constraint k
    JOIN pg_catalog.pg_class c ON c.oid = k.conrelid
    JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace
   WHERE n.nspname = current_user;

ALTER VIEW scott.user_constraints OWNER TO scott;

CREATE OR REPLACE VIEW scott.user_cons_columns AS
  SELECT k.conname::varchar(128) AS constraint_name, c.relname::varchar(128) AS table_name,
         a.attname::varchar(128) AS column_name, key.position::integer AS position
    FROM pg_catalog.pg_constraint k
    JOIN pg_catalog.pg_class c ON c.oid = k.conrelid
    JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace
    CROSS JOIN LATERAL unnest(k.conkey) WITH ORDINALITY AS key(attnum, position)
    JOIN pg_catalog.pg_attribute a ON a.attrelid = c.oid AND a.attnum = key.attnum
   WHERE n.nspname = current_user;

ALTER VIEW scott.user_cons_columns OWNER TO scott;

CREATE OR REPLACE VIEW scott.user_ind_columns AS
  SELECT i.relname::varchar(128) AS index_name, c.relname::varchar(128) AS table_name,
         a.attname::varchar(128) AS column_name, key.position::integer AS column_position
    FROM pg_catalog.pg_index x
    JOIN pg_catalog.pg_class i ON i.oid = x.indexrelid
    JOIN pg_catalog.pg_class c ON c.oid = x.indrelid
    JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace
    CROSS JOIN LATERAL unnest(x.indkey::int2[]) WITH ORDINALITY AS key(attnum, position)
    JOIN pg_catalog.pg_attribute a ON a.attrelid = c.oid AND a.attnum = key.attnum
   WHERE n.nspname = current_user;

ALTER VIEW scott.user_ind_columns OWNER TO scott;
SQL
}

# Single-user mode needs neither the socket nor a password: how a server made before the
# lookalikes existed gets them. Each statement ends with ";" and an empty line (-j); an ERROR in
# the output is a failure.
pg_add_lookalikes_offline() {
    local data=$1 bin output
    bin=$(pg_bin)
    output=$(oracle_lookalikes_sql |
        as_account "$(stat -c %U "$data")" "$bin/postgres" --single -j -D "$data" scott 2>&1)
    if grep -q 'ERROR:' <<<"$output"; then
        echo "$output" >&2
        return 1
    fi
}

pg_stop() {
    local data=$1 bin owner
    bin=$(pg_bin)
    owner=$(stat -c %U "$data")
    as_account "$owner" "$bin/pg_ctl" -D "$data" stop -m fast -w -t 60 >/dev/null ||
        as_account "$owner" "$bin/pg_ctl" -D "$data" stop -m immediate -w -t 60 >/dev/null
}

# The program asks for this driver name; the registry maps it to psqlODBC, which takes a Server
# starting with "/" as the socket folder.
write_odbc_registry() {
    local dir=$1 description=$2 driver
    driver=$(psqlodbc_driver)
    cat >"$dir/odbcinst.ini" <<INI
[Microsoft ODBC for Oracle]
Description=$description
Driver=$driver
Debug=0
CommLog=0
INI
    : >"$dir/odbc.ini"
}
