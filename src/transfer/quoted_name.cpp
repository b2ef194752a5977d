#include "transfer/quoted_name.h"

#include "data/oracle/quoted_identifier.h"

namespace quorvex {

namespace {

const QString kTableName = QStringLiteral("table name");
const QString kTableNotCopied = QStringLiteral("the table is not copied");

}  // namespace

QString QuotedTableName(const QString& table, const OracleDatabaseRules& rules) {
    return QuotedOracleIdentifier(table, kTableName, kTableNotCopied, rules.characterSet,
                                  rules.longestTableName);
}

QString QuotedFieldName(const QString& field, const OracleDatabaseRules& rules) {
    return QuotedOracleIdentifier(field, QStringLiteral("field name"),
                                  QStringLiteral("the table is not created"), rules.characterSet,
                                  rules.longestColumnName);
}

QString TextLiteral(QString text) {
    text.replace(u'\'', QStringLiteral("''"));
    return u'\'' + text + u'\'';
}

QString DropTableStatement(const QString& table, const OracleDatabaseRules& rules) {
    return QStringLiteral("DROP TABLE ") + QuotedTableName(table, rules);
}

QString PurgeTableStatement(const QString& table, const OracleDatabaseRules& rules) {
    return DropTableStatement(table, rules) + QStringLiteral(" PURGE");
}

QString SelectAllStatement(const QString& table) {
    // The Paradox side: only the quote rule applies, Oracle's length limit does not.
    return QStringLiteral("SELECT * FROM ") + QuotedIdentifier(table, kTableName, kTableNotCopied);
}

}  // namespace quorvex
