#include "cli/help_text.h"

namespace quorvex {

namespace {

const char kConnectionHelp[] =
    "Connection (what is not given comes from the settings the window saved):\n"
    "  --folder DIR    the Paradox folder\n"
    "  --sid SID       the Oracle SID (a TNS alias, or host:port/service)\n"
    "  --user USER     the Oracle user name\n"
    "The password is never given on the command line: it comes from the\n"
    "environment variable QUORVEX_PASSWORD, else from the saved settings, else it is\n"
    "asked for on the terminal (/dev/tty) without being shown.\n";

}  // namespace

QString ProgramVersion() { return QStringLiteral(QUORVEX_VERSION); }

QString ProgramHelpText() {
    return QStringLiteral(
        "Usage: quorvex\n"
        "       quorvex send [options] [TABLE...]\n"
        "       quorvex list [--oracle | --paradox] [--json] [options]\n"
        "       quorvex verify [options] [TABLE...]\n"
        "       quorvex --version\n"
        "\n"
        "Without arguments Quorvex opens its window, which needs a display. With a\n"
        "command it runs in the terminal, without a display:\n"
        "  send    copy Paradox tables into Oracle, as \"Send Table/s To Oracle\" does\n"
        "  list    print the table names of the Oracle login, of the Paradox folder, or\n"
        "          both\n"
        "  verify  compare sent tables with their Paradox tables; change nothing\n"
        "\n"
        "quorvex send --help, quorvex list --help and quorvex verify --help describe each\n"
        "command.\n");
}

QString SendHelpText() {
    return QStringLiteral(
               "Usage: quorvex send [options] [TABLE...]\n"
               "\n"
               "Copies the named Paradox tables (every table the folder itself holds when none\n"
               "is named) into Oracle, as the window's \"Send Table/s To Oracle\" does: each\n"
               "table is created in Oracle and its rows are sent one INSERT at a time. Each\n"
               "table is sent once. Tables of subfolders are not sent: the summary names each\n"
               "with the --folder to give for it. A table the folder holds in two files that\n"
               "differ only in letter case (T.DB and T.db) is named by its file's name, exactly\n"
               "as spelled: quorvex send T.db sends that file as the table T.\n"
               "\n") +
           QString::fromUtf8(kConnectionHelp) +
           QStringLiteral(
               "\n"
               "A table that is already in Oracle:\n"
               "  --overwrite     drop it and send it again\n"
               "  --keep          leave it as it is; its rows are counted, and one with fewer\n"
               "                  rows than the Paradox table is named as incomplete\n"
               "  --resume        keep it when it holds every row, else drop it and send it\n"
               "                  again: re-running an interrupted or failed send finishes it\n"
               "Without any of these, the question is asked on the terminal for each such\n"
               "table; without a terminal to ask on, the command does not start.\n"
               "Where the schema's ledger (QUORVEX$LEDGER_TABLES) knows the table, --resume\n"
               "and --keep go by it: a table as its send left it (refused rows aside) is kept,\n"
               "one changed in Oracle since is kept and named, one whose Paradox file changed\n"
               "is sent again by --resume. One send at a time per schema: a second one exits\n"
               "with status 2, naming the send that runs.\n"
               "\n"
               "  --bulk          send each table's rows in arrays of bound values, in one\n"
               "                  transaction per table: many times faster, above all over a\n"
               "                  network. A table is then complete in Oracle (less its refused\n"
               "                  rows) or absent: a stopped or failed table is rolled back\n"
               "  --jobs N        with --bulk, send N tables at a time (1 to 64), each on its\n"
               "                  own connection, with a progress line for each\n"
               "  --native        create each table with Oracle's own types (NCLOB memos, DATE,\n"
               "                  TIMESTAMP(3), BINARY_DOUBLE, NUMBER(32,s) for BCD...), every\n"
               "                  value exact, then its primary key and indexes from the Paradox\n"
               "                  files; a table is complete or absent, as with --bulk\n"
               "  --dry-run       read every table to its end and tell what a send would do and\n"
               "                  what Oracle would refuse; change nothing\n"
               "  --code-page N   read the tables' text in code page N (such as 1251) instead of\n"
               "                  the one their headers name, which is sometimes wrong\n"
               "  --report FILE   also write a JSON report: the folder, SID and user, the start\n"
               "                  and end, and per table its file, rows, outcome and time\n"
               "  --rejects FILE  write every row that did not arrive whole as one JSON line:\n"
               "                  the table, the row number, its values and the server's message\n"
               "  -h, --help      print this help and exit\n"
               "\n"
               "Failure reports go to standard error as the window shows them, with a progress\n"
               "line per table; the summary (rows in each Paradox table, rows that arrived, rows\n"
               "refused, the first refusal) goes to standard output. A number Oracle cannot hold\n"
               "(infinity) is sent as NULL, reported and counted as refused.\n"
               "\n"
               "Exit status: 0 when every row of every table arrived (kept tables: complete);\n"
               "1 when some did not; 2 for a wrong option, table name, folder, file or login,\n"
               "with nothing changed; 130 after Ctrl+C, 143 after SIGTERM and 129 after SIGHUP,\n"
               "which stop after the row being sent (with --bulk: after the array being sent,\n"
               "rolling its table back) and still print the summary and report.\n"
               "With --dry-run: 0 when a send would arrive whole, else 1.\n");
}

QString VerifyHelpText() {
    return QStringLiteral(
               "Usage: quorvex verify [options] [TABLE...]\n"
               "\n"
               "Compares each named Paradox table (every table the folder itself holds when none\n"
               "is named) with the Oracle table of the same name, as a send left it: first the\n"
               "row counts, then the rows themselves, each read back on both sides to the form a\n"
               "send gives its values, and compared as a whole whatever their order in Oracle.\n"
               "It prints per table \"same\", or the counts and up to five rows found on one side\n"
               "only. It only reads: nothing is changed on either side.\n"
               "\n") +
           QString::fromUtf8(kConnectionHelp) +
           QStringLiteral(
               "\n"
               "  --report FILE   also write the result as JSON: the folder, SID and user, the\n"
               "                  start and end, and per table its file, result, row counts and\n"
               "                  the rows found on one side only\n"
               "  --jobs N        compare N tables at a time (1 to 64), each on its own\n"
               "                  connection\n"
               "  --code-page N   read the Paradox tables' text in code page N, as the send did\n"
               "  --native        compare tables sent with --native: the Paradox values\n"
               "                  themselves, exactly, and the columns, key and indexes\n"
               "  -h, --help      print this help and exit\n"
               "\n"
               "Exit status: 0 when every table is the same; 1 when one differs, is not in\n"
               "Oracle or could not be compared; 2 for a wrong option, table name, folder, file\n"
               "or login; 130, 143 and 129 after Ctrl+C, SIGTERM and SIGHUP, which stop the\n"
               "comparison and still print what was found and write the report.\n");
}

QString ListHelpText() {
    return QStringLiteral(
               "Usage: quorvex list [--oracle | --paradox] [--json] [options]\n"
               "\n"
               "Prints the table names as the tables screen lists them, in the same order, one\n"
               "per line: the Oracle tables of the login and the Paradox tables of the folder\n"
               "and all its subfolders, each side under a heading when both are printed.\n"
               "  --oracle        only the Oracle tables\n"
               "  --paradox       only the Paradox tables (no server needed)\n"
               "  --json          as JSON: {\"oracle\": [names], \"paradox\": [{\"table\",\n"
               "                  \"sourceFile\", \"inSubfolder\"}]}\n"
               "  -h, --help      print this help and exit\n"
               "\n") +
           QString::fromUtf8(kConnectionHelp) +
           QStringLiteral(
               "\n"
               "A refused login shows the driver's own message and where the password came\n"
               "from. Exit status: 0; 1 when a side could not be listed; 2 for a wrong option, a\n"
               "missing folder or login.\n");
}

}  // namespace quorvex
