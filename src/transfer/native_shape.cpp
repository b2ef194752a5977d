#include "transfer/native_shape.h"

#include "transfer/quoted_name.h"
#include "transfer/server_number.h"

namespace quorvex {

namespace {

QString TextOf(const Value& value) {
    switch (value.kind()) {
        case Value::Kind::Text:
            return value.toText();
        case Value::Kind::Integer:
            return QString::number(value.toInteger());
        case Value::Kind::Double:
            return QString::number(value.toDouble(), 'g', 17);
        default:
            return {};
    }
}

int NumberOf(const Value& value, int otherwise) {
    return static_cast<int>(WholeNumberOf(value).value_or(otherwise));
}

// The column as the dictionary names its type: "NVARCHAR2(40)", "NUMBER(32,2)", "RAW(16)".
QString Described(const OracleColumn& column) {
    if (column.dataType == QLatin1String("NVARCHAR2")) {
        return QStringLiteral("NVARCHAR2(%1)").arg(column.charLength);
    }
    if (column.dataType == QLatin1String("RAW")) {
        return QStringLiteral("RAW(%1)").arg(column.dataLength);
    }
    if (column.dataType == QLatin1String("NUMBER") && column.precision >= 0) {
        return column.scale > 0
                   ? QStringLiteral("NUMBER(%1,%2)").arg(column.precision).arg(column.scale)
                   : QStringLiteral("NUMBER(%1)").arg(column.precision);
    }
    return column.dataType;
}

// The dictionary's name for a native column type: the same words, with Oracle's default day
// precision in an interval and NUMBER's scale 0 left out.
QString DictionaryForm(const QString& word) {
    if (word.startsWith(QLatin1String("INTERVAL DAY TO SECOND"))) {
        return QStringLiteral("INTERVAL DAY(2) TO SECOND") + word.mid(22);
    }
    return word;
}

QString ColumnList(const std::vector<QString>& names) {
    QStringList quoted;
    for (const QString& name : names) {
        quoted.append(u'"' + name + u'"');
    }
    return u'(' + quoted.join(QStringLiteral(", ")) + u')';
}

}  // namespace

QString OracleColumnsQuery(const QString& table) {
    return QStringLiteral(
               "SELECT column_name, data_type, char_length, data_length, data_precision, "
               "data_scale, nullable FROM user_tab_columns WHERE table_name = %1 ORDER BY "
               "column_id")
        .arg(TextLiteral(table));
}

QString PrimaryKeyColumnsQuery(const QString& table) {
    return QStringLiteral(
               "SELECT c.column_name FROM user_constraints k JOIN user_cons_columns c ON "
               "c.constraint_name = k.constraint_name AND c.table_name = k.table_name WHERE "
               "k.table_name = %1 AND k.constraint_type = 'P' ORDER BY c.position")
        .arg(TextLiteral(table));
}

QString IndexColumnsQuery(const QString& table) {
    return QStringLiteral(
               "SELECT index_name, column_name FROM user_ind_columns WHERE table_name = %1 "
               "ORDER BY index_name, column_position")
        .arg(TextLiteral(table));
}

std::vector<OracleColumn> ReadOracleColumns(Connection& oracle, const QString& table) {
    std::vector<OracleColumn> columns;
    Recordset rows;
    rows.Open(OracleColumnsQuery(table), oracle);
    for (; !rows.Eof(); rows.MoveNext()) {
        columns.push_back({TextOf(rows.FieldValue(0)), TextOf(rows.FieldValue(1)),
                           NumberOf(rows.FieldValue(2), 0), NumberOf(rows.FieldValue(3), 0),
                           NumberOf(rows.FieldValue(4), -1), NumberOf(rows.FieldValue(5), -1),
                           TextOf(rows.FieldValue(6)).trimmed() != u'N'});
    }
    return columns;
}

OracleKeys ReadOracleKeys(Connection& oracle, const QString& table) {
    OracleKeys keys;
    Recordset key;
    key.Open(PrimaryKeyColumnsQuery(table), oracle);
    for (; !key.Eof(); key.MoveNext()) {
        keys.primaryKey.push_back(TextOf(key.FieldValue(0)));
    }
    Recordset indexes;
    indexes.Open(IndexColumnsQuery(table), oracle);
    for (; !indexes.Eof(); indexes.MoveNext()) {
        keys.indexes[TextOf(indexes.FieldValue(0))].push_back(TextOf(indexes.FieldValue(1)));
    }
    return keys;
}

QString NativeShapeDifference(const std::vector<NativeField>& fields,
                              const std::vector<OracleColumn>& columns) {
    if (columns.size() != fields.size()) {
        return QStringLiteral("it has %1 columns, its Paradox table %2 fields")
            .arg(columns.size())
            .arg(fields.size());
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const QString wanted = DictionaryForm(NativeColumnFor(fields[i].type, fields[i].size).word);
        const QString found = Described(columns[i]);
        if (columns[i].name != fields[i].name || found != wanted) {
            return QStringLiteral("its column \"%1\" is %2, not the native %3")
                .arg(columns[i].name, found, wanted);
        }
    }
    return {};
}

QStringList NativeKeysDifference(const QString& table, const std::vector<QString>& fieldNames,
                                 const ParadoxTableKeys& keys, const OracleKeys& found,
                                 const OracleDatabaseRules& rules) {
    QStringList differences;
    const std::vector<QString> key(
        fieldNames.begin(),
        fieldNames.begin() +
            std::min<std::ptrdiff_t>(keys.keyFieldCount,
                                     static_cast<std::ptrdiff_t>(fieldNames.size())));
    if (key != found.primaryKey) {
        differences.append(
            found.primaryKey.empty()
                ? QStringLiteral("the primary key %1 is missing").arg(ColumnList(key))
            : key.empty() ? QStringLiteral("it has a primary key %1 its Paradox table has not")
                                .arg(ColumnList(found.primaryKey))
                          : QStringLiteral("the primary key is on %1, not %2")
                                .arg(ColumnList(found.primaryKey), ColumnList(key)));
    }
    for (const ParadoxIndex& index : keys.indexes) {
        std::vector<QString> columns;
        for (const int field : index.fields) {
            columns.push_back(fieldNames.at(static_cast<std::size_t>(field)));
        }
        const QString name = NativeObjectName(table, u'_' + index.tag, rules);
        const auto at = found.indexes.find(name);
        if (at == found.indexes.end()) {
            differences.append(
                QStringLiteral("the index \"%1\" %2 is missing").arg(name, ColumnList(columns)));
        } else if (at->second != columns) {
            differences.append(QStringLiteral("the index \"%1\" is on %2, not %3")
                                   .arg(name, ColumnList(at->second), ColumnList(columns)));
        }
    }
    // The send could not make these either: the table is not whole until they are made by hand.
    for (const QString& damaged : keys.damaged) {
        differences.append(
            QStringLiteral("an index file could not be read, so its index is not checked: %1")
                .arg(damaged));
    }
    return differences;
}

}  // namespace quorvex
