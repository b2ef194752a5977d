#include "data/access/oracle_database_rules.h"

namespace quorvex {

namespace {

int LimitOrFallback(int saidByDriver) {
    return saidByDriver > 0 ? saidByDriver : OracleDatabaseRules::kLongestNameFallback;
}

QString TextOf(const Value& value) {
    return value.kind() == Value::Kind::Text ? value.toText().trimmed().toUpper() : QString();
}

}  // namespace

void ReadOracleDatabaseRules(Connection& connection, OracleDatabaseRules& rules) {
    rules.longestTableName = LimitOrFallback(connection.MaxTableNameLength());
    rules.longestColumnName = LimitOrFallback(connection.MaxColumnNameLength());

    Recordset parameters;
    parameters.Open(kCharacterSetQuery, connection);
    for (; !parameters.Eof(); parameters.MoveNext()) {
        const QString parameter = TextOf(parameters.FieldValue(0));
        const QString value = TextOf(parameters.FieldValue(1));
        if (value.isEmpty()) continue;
        if (parameter == u"NLS_CHARACTERSET") {
            rules.characterSet = OracleCharacterSet(value);
        } else if (parameter == u"NLS_NCHAR_CHARACTERSET") {
            rules.nationalCharacterSet = value;
        }
    }
}

}  // namespace quorvex
