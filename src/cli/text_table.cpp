#include "cli/text_table.h"

#include <algorithm>
#include <array>
#include <utility>

namespace quorvex {

namespace {

// The East Asian Wide and Fullwidth ranges of Unicode's EastAsianWidth.txt, coarsely.
constexpr std::array<std::pair<char32_t, char32_t>, 16> kWideRanges{{
    {0x1100, 0x115F},    // hangul jamo
    {0x2E80, 0x303E},    // CJK radicals, punctuation
    {0x3041, 0x33FF},    // kana, CJK symbols
    {0x3400, 0x4DBF},    // CJK extension A
    {0x4E00, 0x9FFF},    // CJK unified ideographs
    {0xA000, 0xA4CF},    // Yi
    {0xAC00, 0xD7A3},    // hangul syllables
    {0xF900, 0xFAFF},    // CJK compatibility ideographs
    {0xFE10, 0xFE19},    // vertical forms
    {0xFE30, 0xFE6F},    // CJK compatibility forms, small forms
    {0xFF00, 0xFF60},    // fullwidth forms
    {0xFFE0, 0xFFE6},    // fullwidth signs
    {0x1F300, 0x1F64F},  // pictographs, emoticons
    {0x1F900, 0x1F9FF},  // supplemental pictographs
    {0x20000, 0x2FFFD},  // CJK extensions B to F
    {0x30000, 0x3FFFD},  // CJK extension G
}};

int CharacterWidth(char32_t c) {
    const QChar::Category category = QChar::category(c);
    if (category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing ||
        category == QChar::Other_Format) {
        return 0;
    }
    for (const auto& [first, last] : kWideRanges) {
        if (c >= first && c <= last) {
            return 2;
        }
    }
    return 1;
}

// The code point at `at`, and moves `at` past it (a surrogate pair is one code point).
char32_t NextCodePoint(const QString& text, qsizetype& at) {
    const QChar first = text[at++];
    if (first.isHighSurrogate() && at < text.size() && text[at].isLowSurrogate()) {
        return QChar::surrogateToUcs4(first, text[at++]);
    }
    return first.unicode();
}

QString Padded(const QString& text, int width, bool right) {
    const QString blanks(std::max(0, width - DisplayWidth(text)), u' ');
    return right ? blanks + text : text + blanks;
}

}  // namespace

int DisplayWidth(const QString& text) {
    int width = 0;
    for (qsizetype at = 0; at < text.size();) {
        width += CharacterWidth(NextCodePoint(text, at));
    }
    return width;
}

QString CutToWidth(const QString& text, int columns) {
    int width = 0;
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype before = at;
        width += CharacterWidth(NextCodePoint(text, at));
        if (width > columns) {
            return text.left(before);
        }
    }
    return text;
}

QString TextTable(const std::vector<QStringList>& rows) {
    std::vector<int> widths;
    for (const QStringList& row : rows) {
        widths.resize(std::max<std::size_t>(widths.size(), static_cast<std::size_t>(row.size())));
        for (qsizetype c = 0; c + 1 < row.size(); ++c) {
            widths[c] = std::max(widths[c], DisplayWidth(row[c]));
        }
    }
    QString text;
    for (const QStringList& row : rows) {
        QString line;
        for (qsizetype c = 0; c < row.size(); ++c) {
            const bool last = c + 1 == row.size();
            line += c == 0 ? QString() : QStringLiteral("  ");
            line += last ? row[c] : Padded(row[c], widths[c], c > 0);
        }
        while (line.endsWith(u' ')) {  // an empty last column leaves no trailing blanks
            line.chop(1);
        }
        text += line + u'\n';
    }
    return text;
}

}  // namespace quorvex
