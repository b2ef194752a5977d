#include "transfer/sent_value.h"

#include "transfer/value_text.h"

#include <QRegularExpression>

#include <algorithm>

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

QString UnreadableValueReport(const QString& field, const QString& reason) {
    return QStringLiteral("The value of the field %1 could not be read: %2").arg(field, reason);
}

bool HoldsTextOverColumn(const std::vector<std::optional<QString>>& sent) {
    constexpr qsizetype kLongestColumnText = 2000;
    static const QRegularExpression hex(QStringLiteral("^[0-9A-F]*$"));
    return std::any_of(sent.begin(), sent.end(), [](const std::optional<QString>& value) {
        return value && value->size() > kLongestColumnText && !hex.match(*value).hasMatch();
    });
}

}  // namespace quorvex
