#include "cli/help_text.h"

namespace quorvex {

namespace {

const char kConnectionHelp[] =
    "Connection (what is not given comes from the settings the window saved):\n"
    "  --folder DIR   the Paradox folder\n"
    "  --sid SID      the Oracle SID (a TNS alias, or host:port/service)\n"
    "  --user USER    the Oracle user name\n"
    "The password is never given on the command line: it comes from the saved settings,\n"
    "else from the environment variable QUORVEX_PASSWORD, else it is asked for on the\n"
    "terminal without being shown.\n";

}  // namespace

QString ProgramHelpText() {
    return QStringLiteral(
        "Usage: quorvex\n"
        "       quorvex send [options] [TABLE...]\n"
        "       quorvex list [--oracle | --paradox] [options]\n"
        "\n"
        "Without arguments Quorvex opens its window. With a command it runs in the terminal,\n"
        "without a display:\n"
        "  send   copy Paradox tables into Oracle, as \"Send Table/s To Oracle\" does\n"
        "  list   print the table names of the Oracle login, of the Paradox folder, or both\n"
        "\n"
        "quorvex send --help and quorvex list --help describe each command.\n");
}

QString SendHelpText() {
    return QStringLiteral(
               "Usage: quorvex send [options] [TABLE...]\n"
               "\n"
               "Copies the named Paradox tables (every table of the folder and its subfolders\n"
               "when none is named) into Oracle, as the window's \"Send Table/s To Oracle\" does:\n"
               "each table is created in Oracle and its rows are sent one INSERT at a time.\n"
               "\n") +
           QString::fromUtf8(kConnectionHelp) +
           QStringLiteral(
               "\n"
               "A table that is already in Oracle:\n"
               "  --overwrite    drop it and send it again\n"
               "  --keep         leave it as it is\n"
               "Without either, the question is asked on the terminal for each such table;\n"
               "without a terminal to ask on, the command does not start.\n"
               "\n"
               "  --report FILE  also write the summary to FILE, as JSON\n"
               "  -h, --help     this text\n"
               "\n"
               "Failure reports go to standard error as the window shows them, with a progress\n"
               "line per table; the summary (rows in each Paradox table, rows that arrived, rows\n"
               "refused, the first refusal) goes to standard output.\n"
               "\n"
               "Exit status: 0 when every row of every table arrived (tables kept aside); 1 when\n"
               "some did not; 2 for a wrong option or an unknown table name (the other tables are\n"
               "still sent); 130 after Ctrl+C, which stops after the row being sent.\n");
}

QString ListHelpText() {
    return QStringLiteral(
               "Usage: quorvex list [--oracle | --paradox] [options]\n"
               "\n"
               "Prints the table names as the tables screen lists them, in the same order, one\n"
               "per line: the Oracle tables of the login and the Paradox tables of the folder and\n"
               "all its subfolders, each side under a heading when both are printed.\n"
               "  --oracle       only the Oracle tables\n"
               "  --paradox      only the Paradox tables (no server needed)\n"
               "  -h, --help     this text\n"
               "\n") +
           QString::fromUtf8(kConnectionHelp) +
           QStringLiteral(
               "\n"
               "Exit status: 0; 1 when a side could not be listed; 2 for a wrong option.\n");
}

}  // namespace quorvex
