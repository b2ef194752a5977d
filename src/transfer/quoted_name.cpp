#include "transfer/quoted_name.h"

#include "data/quoted_identifier.h"

namespace quorvex {

namespace {

const QString kTableName = QStringLiteral("table name");
const QString kTableNotCopied = QStringLiteral("the table is not copied");

}  // namespace

QString QuotedTableName(const QString& table) {
    return QuotedOracleIdentifier(table, kTableName, kTableNotCopied);
}

QString QuotedFieldName(const QString& field) {
    return QuotedOracleIdentifier(field, QStringLiteral("field name"),
                                  QStringLiteral("the table is not created"));
}

QString DropTableStatement(const QString& table) {
    return QStringLiteral("DROP TABLE ") + QuotedTableName(table);
}

QString SelectAllStatement(const QString& table) {
    // The Paradox side: only the quote rule applies, Oracle's length limit does not.
    return QStringLiteral("SELECT * FROM ") + QuotedIdentifier(table, kTableName, kTableNotCopied);
}

}  // namespace quorvex
