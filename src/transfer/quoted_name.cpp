#include "transfer/quoted_name.h"

#include "data/failure.h"

namespace quorvex {

namespace {

constexpr QChar kDoubleQuote = u'"';

QString Quoted(const QString& name) { return kDoubleQuote + name + kDoubleQuote; }

}  // namespace

QString QuotedTableName(const QString& table) {
    if (table.contains(kDoubleQuote)) {
        throw Failure(QStringLiteral("The table name %1 contains a double quote (\"), which an "
                                     "Oracle table name cannot hold; the table is not copied.")
                          .arg(table));
    }
    return Quoted(table);
}

QString QuotedFieldName(const QString& field) {
    if (field.contains(kDoubleQuote)) {
        throw Failure(QStringLiteral("The field name %1 contains a double quote (\"), which an "
                                     "Oracle column name cannot hold; the table is not created.")
                          .arg(field));
    }
    return Quoted(field);
}

QString DropTableStatement(const QString& table) {
    return QStringLiteral("DROP TABLE ") + QuotedTableName(table);
}

QString SelectAllStatement(const QString& table) {
    return QStringLiteral("SELECT * FROM ") + QuotedTableName(table);
}

}  // namespace quorvex
