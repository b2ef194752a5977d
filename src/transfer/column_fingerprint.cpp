#include "transfer/column_fingerprint.h"

#include "transfer/quoted_name.h"
#include "transfer/server_number.h"
#include "transfer/value_text.h"

#include <QCryptographicHash>

namespace quorvex {

namespace {

// The query's columns: two texts, four numbers, a text.
constexpr int kColumns = 7;
constexpr int kFirstNumber = 2;
constexpr int kLastNumber = 5;

// One value in a form that does not depend on how the driver hands it over: numbers as their
// digits, NULL as nothing.
QString Canonical(const Value& value, bool number) {
    if (value.isNull()) {
        return QString();
    }
    if (number) {
        if (const std::optional<std::int64_t> whole = WholeNumberOf(value)) {
            return QString::number(*whole);
        }
    }
    return value.kind() == Value::Kind::Text ? value.toText().trimmed() : ValueText(value);
}

}  // namespace

QString ColumnFingerprintQuery(const QString& table) {
    return QStringLiteral(
               "SELECT column_name, data_type, data_length, char_length, data_precision, "
               "data_scale, nullable FROM user_tab_columns WHERE table_name = %1 ORDER BY "
               "column_id")
        .arg(TextLiteral(table));
}

QString ReadColumnFingerprint(Connection& oracle, const QString& table) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    bool any = false;
    Recordset columns;
    columns.Open(ColumnFingerprintQuery(table), oracle);
    for (; !columns.Eof(); columns.MoveNext()) {
        any = true;
        for (int i = 0; i < kColumns; ++i) {
            const bool number = i >= kFirstNumber && i <= kLastNumber;
            // Each value ends with a unit separator, each column with a record separator: no
            // two different columns give the same bytes.
            hash.addData(Canonical(columns.FieldValue(i), number).toUtf8() + '\x1f');
        }
        hash.addData(QByteArrayView("\x1e"));
    }
    columns.Close();
    return any ? QString::fromLatin1(hash.result().toHex()) : QString();
}

}  // namespace quorvex
