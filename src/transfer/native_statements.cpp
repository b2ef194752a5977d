#include "transfer/native_statements.h"

#include "transfer/native_value.h"
#include "transfer/quoted_name.h"

#include <QStringList>

namespace quorvex {

namespace {

QString QuotedList(const std::vector<QString>& fields, const OracleDatabaseRules& rules) {
    QStringList quoted;
    for (const QString& field : fields) {
        quoted.append(QuotedFieldName(field, rules));
    }
    return quoted.join(QStringLiteral(", "));
}

// FNV-1a over the name's UTF-8: the same digits on every machine and every run.
QString NameHash(const QString& name) {
    std::uint32_t hash = 2166136261u;
    for (const char byte : name.toUtf8()) {
        hash = (hash ^ static_cast<unsigned char>(byte)) * 16777619u;
    }
    return QStringLiteral("%1")
        .arg((hash ^ (hash >> 16)) & 0xFFFF, 4, 16, QLatin1Char('0'))
        .toUpper();
}

}  // namespace

QString BuildNativeCreateTable(const QString& table, const std::vector<NativeField>& fields,
                               const OracleDatabaseRules& rules) {
    QStringList columns;
    for (const NativeField& field : fields) {
        const NativeColumn column = NativeColumnFor(field.type, field.size);
        const QString name = QuotedFieldName(field.name, rules);
        QString definition = name + u' ' + column.word;
        if (column.kind == NativeKind::Logical) {
            definition += QStringLiteral(" CHECK (%1 IN (0, 1))").arg(name);
        }
        columns.append(definition);
    }
    return QStringLiteral("CREATE TABLE ") + QuotedTableName(table, rules) + u'(' +
           columns.join(QStringLiteral(", ")) + u')';
}

NativeInsertLayout BuildNativeInsertLayout(const QString& table,
                                           const std::vector<NativeField>& fields,
                                           const OracleDatabaseRules& rules) {
    NativeInsertLayout layout;
    for (const bool lobs : {false, true}) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const NativeColumn column = NativeColumnFor(fields[i].type, fields[i].size);
            if (IsLobKind(column.kind) == lobs) {
                layout.fieldOfColumn.push_back(i);
                layout.columns.push_back(column);
            }
        }
    }
    std::vector<QString> names;
    for (const std::size_t field : layout.fieldOfColumn) {
        names.push_back(fields[field].name);
    }
    layout.head = QStringLiteral("INSERT INTO ") + QuotedTableName(table, rules) +
                  QStringLiteral(" (") + QuotedList(names, rules) + QStringLiteral(") VALUES(");
    return layout;
}

InsertRow BuildNativeInsert(const NativeInsertLayout& layout, const std::vector<Value>& row,
                            const OracleDatabaseRules& rules) {
    InsertRow insert;
    insert.text = layout.head;
    for (std::size_t c = 0; c < layout.columns.size(); ++c) {
        const Value& value = row.at(layout.fieldOfColumn[c]);
        const std::optional<QString> literal =
            NativeLiteral(layout.columns[c], value, rules.bindsNonAsciiTexts());
        if (c > 0) {
            insert.text += QStringLiteral(", ");
        }
        if (literal) {
            insert.text += *literal;
        } else {
            insert.text += u'?';
            insert.boundValues.push_back(value);
        }
    }
    insert.text += u')';
    return insert;
}

QString BuildNativeBulkInsert(const NativeInsertLayout& layout) {
    QStringList markers;
    for (const NativeColumn& column : layout.columns) {
        markers.append(NativeMarker(column.kind));
    }
    return layout.head + markers.join(QStringLiteral(", ")) + u')';
}

QString NativeObjectName(const QString& table, const QString& suffix,
                         const OracleDatabaseRules& rules) {
    const int longest = rules.longestTableName;
    QString name = table + suffix;
    if (rules.characterSet.byteCount(name) <= longest) {
        return name;
    }
    const QString tail = u'_' + NameHash(table) + suffix;
    QString head = table;
    while (!head.isEmpty() && rules.characterSet.byteCount(head + tail) > longest) {
        head.chop(head.size() >= 2 && head.back().isLowSurrogate() ? 2 : 1);
    }
    return head + tail;
}

QString PrimaryKeyStatement(const QString& table, const std::vector<QString>& keyFields,
                            const OracleDatabaseRules& rules) {
    return QStringLiteral("ALTER TABLE %1 ADD CONSTRAINT %2 PRIMARY KEY (%3)")
        .arg(QuotedTableName(table, rules),
             QuotedTableName(NativeObjectName(table, QStringLiteral("_PK"), rules), rules),
             QuotedList(keyFields, rules));
}

QString CreateIndexStatement(const QString& table, const QString& tag,
                             const std::vector<QString>& fields, const OracleDatabaseRules& rules) {
    return QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
        .arg(QuotedTableName(NativeObjectName(table, u'_' + tag, rules), rules),
             QuotedTableName(table, rules), QuotedList(fields, rules));
}

QString OffendingKeysQuery(const QString& table, const std::vector<QString>& keyFields,
                           const OracleDatabaseRules& rules) {
    const QString list = QuotedList(keyFields, rules);
    QStringList nulls;
    for (const QString& field : keyFields) {
        nulls.append(QuotedFieldName(field, rules) + QStringLiteral(" IS NULL"));
    }
    return QStringLiteral(
               "SELECT %1, COUNT(*) FROM %2 GROUP BY %1 HAVING COUNT(*) > 1 OR %3 "
               "ORDER BY COUNT(*) DESC")
        .arg(list, QuotedTableName(table, rules), nulls.join(QStringLiteral(" OR ")));
}

}  // namespace quorvex
