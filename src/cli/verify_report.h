#pragma once

#include "cli/summary_report.h"
#include "transfer/ledger_statements.h"
#include "transfer/table_comparison.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace quorvex {

// What `quorvex verify` found of one table.
struct VerifiedTable {
    enum class Result {
        Same,         // the same rows on both sides
        Differs,      // rows found on one side only (or the counts differ)
        NotInOracle,  // no Oracle table of that name
        NotCompared,  // a side could not be read (a missing column, a lost connection...)
        Stopped,      // a signal stopped the comparison
        NotReached,   // the command ended before it came to this table
        InSubfolder,  // listed from a subfolder of the folder: not compared
    };
    QString name{};  // as listed; "Archive/ORDERS98" for a subfolder's table
    QString sourceFile{};
    Result result = Result::NotReached;
    std::optional<TableComparison> comparison{};  // Same and Differs
    QString problem{};  // why it was not compared, or the subfolder's hint
    double seconds = 0.0;
    // The ledger's latest entry of the table, when there is one: the rows refused at its send
    // are told apart from rows missing since.
    std::optional<LedgerEntry> ledger{};

    // The Paradox row was refused when the table was sent, as the ledger says.
    bool RefusedAtSend(std::int64_t paradoxRow) const;

    // "same", "differs", "not in Oracle", "not compared", "stopped", "not reached", "in a
    // subfolder".
    QString ResultWord() const;
    // A table the command's exit status answers for.
    bool Counts() const { return result != Result::InSubfolder; }
    // The line a table ends with while the command runs: "T: same (12 rows)"...
    QString FinishedLine() const;
};

// The result on standard output: one line per table (the counts and the result), the rows found
// on one side only of each table that differs (texts over 60 characters cut short; a row the
// ledger says was refused at its send marked so), and how many tables are the same. The tables
// in the lists' order.
QString VerifyText(std::vector<VerifiedTable> tables);

// The JSON report of `--report FILE`: RunJson's fields, "command": "verify", and
//   "tables": [{"table", "sourceFile", "result", "paradoxRows", "oracleRows", "onlyInParadox",
//               "onlyInOracle", "seconds", "problem",
//               "refusedAtSendRun": 4 (the run whose send the ledger tells of, or null),
//               "onlyInParadoxRows": [{"row": 7, "refusedAtSend": true, "values": {...}}],
//               "onlyInOracleRows": [{"values": {...}}]}]
// the counts null for a table not compared, the values whole (null for NULL).
QByteArray VerifyJson(std::vector<VerifiedTable> tables, const RunRecord& run);

}  // namespace quorvex
