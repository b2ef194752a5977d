#pragma once

#include <QString>

#include <functional>

namespace quorvex {

// The order of the table lists, whatever shows them: alphabetical ignoring case (accented letters
// beside their plain forms), names equal that way in a fixed order. Negative, zero or positive
// like strcmp.
int CompareTableNames(const QString& a, const QString& b);

// The place a new entry takes: after every entry that sorts before it or equal to it.
int SortedInsertPosition(int count, const std::function<QString(int)>& entryAt,
                         const QString& text);

}  // namespace quorvex
