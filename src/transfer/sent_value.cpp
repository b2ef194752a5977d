#include "transfer/sent_value.h"

#include "transfer/value_text.h"

namespace quorvex {

std::optional<QString> SentText(const Value& value) {
    QString text = ValueText(value);
    if (text.isEmpty()) {
        return std::nullopt;
    }
    return text;
}

QString UnheldNumbersReport(const QString& table, std::int64_t row, const QStringList& fields) {
    return QStringLiteral(
               "Row %1 of table %2 holds %3 Oracle cannot store: %4; NULL is sent in "
               "%5 place.")
        .arg(QString::number(row), table,
             fields.size() == 1 ? QStringLiteral("a number") : QStringLiteral("numbers"),
             fields.join(QStringLiteral(", ")),
             fields.size() == 1 ? QStringLiteral("its") : QStringLiteral("their"));
}

}  // namespace quorvex
