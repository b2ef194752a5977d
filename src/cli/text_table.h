#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace quorvex {

// The columns a text takes on a terminal: two for each East Asian wide or fullwidth character
// (CJK ideographs, kana, hangul, fullwidth forms), none for a combining mark, one for any other.
int DisplayWidth(const QString& text);

// The text's longest beginning that takes at most `columns` columns.
QString CutToWidth(const QString& text, int columns);

// Rows of cells laid out in columns that line up on a terminal, one line each: the first column
// left-aligned, the middle ones right-aligned (counts), the last one as it is, with no blanks
// after it.
QString TextTable(const std::vector<QStringList>& rows);

}  // namespace quorvex
