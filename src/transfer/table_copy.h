#pragma once

#include "data/access/connection.h"
#include "data/access/oracle_database_rules.h"
#include "shell/command_steps.h"
#include "shell/transfer_observer.h"
#include "shell/ui.h"
#include "transfer/table_plan.h"
#include "transfer/yield_point.h"

#include <QString>

#include <vector>

namespace quorvex {

// The two halves of copying one Paradox table, run as numbered steps of the transfer command:
// each failure is reported under the command's label with its step's line and the copy goes on
// as the failure rule says. `yield` lets pending window events run at the yield points.
struct TableCopy {
    CommandSteps& steps;
    YieldPoint& yield;
    Recordset& source;  // open on the Paradox table, standing on its first row
    Connection& oracle;
    QString table;
    TransferObserver* observer = nullptr;  // told of the row count and of each row's fate
    OracleDatabaseRules rules = {};        // of the Oracle database the statements are for
    TablePlan plan = {};                   // as CreateOracleTable read it
    std::vector<QString> fieldNames = {};  // the plan's field names, for the INSERTs

    // Lines 142 to 202: builds CREATE TABLE from the source's fields and executes it. Returns
    // true when the server created the table. A statement whose building failed (a field that
    // could not be read, a name the builders refuse) is not sent: it would not describe the
    // source table.
    bool CreateOracleTable();

    // Lines 210 to 248: one INSERT per row, counted on the record count; the progress bar is set
    // to r / n * 100 before row r is sent. A row Oracle would refuse for its bound values is
    // reported with line 244 and not sent. A record count that cannot be read copies no rows; a
    // source that cannot move to its next row ends the copy of this table (every further row
    // would repeat or miss data). When the command is ending (steps.Ending()), no further row
    // is sent.
    void CopyRows(ProgressBar& progress);
};

}  // namespace quorvex
