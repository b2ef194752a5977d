#include "data/access/connection.h"
#include "data/core/connection_strings.h"
#include "data/core/do_events.h"
#include "data/core/failure.h"
#include "shell/table_listing.h"

#include <limits>

namespace quorvex {

namespace {

// A count as the 32-bit integer the listing counts with; a larger one is an overflow, not a
// silently shortened list.
int RowCountAsInt32(std::int64_t count) {
    if (count < 0 || count > std::numeric_limits<std::int32_t>::max()) {
        throw Failure(QStringLiteral("Overflow"));
    }
    return static_cast<int>(count);
}

QString TableNameText(const Value& value) {
    switch (value.kind()) {
        case Value::Kind::Text:
            return value.toText();
        case Value::Kind::Null:
            throw Failure(QStringLiteral("Invalid use of Null"));
        default:
            throw Failure(QStringLiteral("Type mismatch"));
    }
}

}  // namespace

void LoadOracleTables(TableList& list, const ConnectionFields& fields) {
    Connection connection;
    Recordset recordset;
    // A client-side cursor fetches the whole result first, so the row count is known up front.
    connection.SetCursorLocation(adUseClient);
    connection.Open(OracleConnectionString(fields));
    recordset.Open(QStringLiteral("SELECT table_name FROM user_tables"), connection);
    list.Clear();
    const int rows = RowCountAsInt32(recordset.RecordCount());
    for (int row = 0; row < rows; ++row) {
        DoEvents();
        list.AddItem(TableNameText(recordset.FieldValue(0)));
        recordset.MoveNext();
    }
    recordset.Close();
    if (list.ListCount() > 0) {
        list.SetListIndex(0);
    }
}

}  // namespace quorvex
