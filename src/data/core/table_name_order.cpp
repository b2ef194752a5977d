#include "data/core/table_name_order.h"

#include <QCollator>
#include <QLocale>

namespace quorvex {

namespace {

// Alphabetical for the user's language; a program started without one (the C locale) still
// sorts letters with their accented forms rather than by character code.
const QCollator& TableNameCollator() {
    static const QCollator collator = [] {
        QLocale locale;
        if (locale.language() == QLocale::C) {
            locale = QLocale(QLocale::English, QLocale::UnitedStates);
        }
        QCollator made(locale);
        made.setCaseSensitivity(Qt::CaseInsensitive);
        made.setNumericMode(false);
        return made;
    }();
    return collator;
}

}  // namespace

int CompareTableNames(const QString& a, const QString& b) {
    if (const int alphabetical = TableNameCollator().compare(a, b); alphabetical != 0) {
        return alphabetical;
    }
    // Names the collation holds equal still get one fixed order, so the list is the same
    // whatever the order of adding.
    if (const int folded = QString::compare(a, b, Qt::CaseInsensitive); folded != 0) {
        return folded;
    }
    return QString::compare(a, b, Qt::CaseSensitive);
}

int SortedInsertPosition(int count, const std::function<QString(int)>& entryAt,
                         const QString& text) {
    int low = 0;
    int high = count;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (CompareTableNames(text, entryAt(middle)) < 0) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    return low;
}

}  // namespace quorvex
