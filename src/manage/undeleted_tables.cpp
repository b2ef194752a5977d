#include "manage/undeleted_tables.h"

#include <algorithm>

namespace quorvex {

void UndeletedTables::Add(const QString& table, const QString& reason) {
    ++count_;
    if (lines_.size() < kNamedAtMost) {
        lines_.append(table + QStringLiteral(": ") + reason);
    }
}

QString UndeletedTables::Text() const {
    QString text = count_ == 1 ? QStringLiteral("1 selected table was not deleted:")
                               : QStringLiteral("%1 selected tables were not deleted:").arg(count_);
    QStringList inListOrder = lines_;
    std::reverse(inListOrder.begin(), inListOrder.end());
    for (const QString& line : inListOrder) {
        text += QLatin1Char('\n') + line;
    }
    if (count_ > lines_.size()) {
        text += QStringLiteral("\nand %1 more.").arg(count_ - lines_.size());
    }
    return text;
}

}  // namespace quorvex
