#include "data/folder/wildcard.h"

namespace quorvex {

namespace {

bool SameIgnoringCase(QChar a, QChar b) { return a == b || a.toCaseFolded() == b.toCaseFolded(); }

}  // namespace

bool MatchesWildcard(const QString& name, const QString& pattern) {
    // Every search in the program is "*" followed by plain text: a suffix test ignoring case.
    if (pattern.startsWith(QLatin1Char('*'))) {
        const QStringView rest = QStringView(pattern).mid(1);
        if (!rest.contains(QLatin1Char('*')) && !rest.contains(QLatin1Char('?'))) {
            return name.endsWith(rest, Qt::CaseInsensitive);
        }
    }
    // General case: greedy matching that backtracks to the last "*" seen.
    qsizetype n = 0;
    qsizetype p = 0;
    qsizetype starAt = -1;
    qsizetype resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
            starAt = p++;
            resumeAt = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == QLatin1Char('?') || SameIgnoringCase(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (starAt >= 0) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
        ++p;
    }
    return p == pattern.size();
}

}  // namespace quorvex
