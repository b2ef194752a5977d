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

qsizetype OracleDatabaseRules::nationalBytes(const QString& text) const {
    if (nationalCharacterSet == u"UTF8") {
        return OracleCharacterSet(nationalCharacterSet).byteCount(text);
    }
    return text.size() * 2;
}

QString OracleDatabaseRules::nationalTextRefusal(const QString& text) const {
    if (text.size() > kLongestNationalText) {
        return QStringLiteral("more than %1 characters").arg(kLongestNationalText);
    }
    // A text of up to 1,333 characters takes at most 4,000 bytes in either national set.
    if (text.size() * 3 > kLongestNationalTextBytes &&
        nationalBytes(text) > kLongestNationalTextBytes) {
        return QStringLiteral("more than %1 bytes in the national character set %2")
            .arg(kLongestNationalTextBytes)
            .arg(nationalCharacterSet);
    }
    return QString();
}

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
