#include "data/oracle/quoted_identifier.h"

#include "data/core/failure.h"

namespace quorvex {

namespace {

constexpr QChar kDoubleQuote = u'"';

[[noreturn]] void Refuse(const QString& name, const QString& what, const QString& reason,
                         const QString& outcome) {
    throw Failure(QStringLiteral("The %1 %2 %3; %4.").arg(what, name, reason, outcome));
}

}  // namespace

QString QuotedIdentifier(const QString& name, const QString& what, const QString& outcome) {
    if (name.contains(kDoubleQuote)) {
        Refuse(name, what,
               QStringLiteral("contains a double quote (\"), which a quoted name cannot hold"),
               outcome);
    }
    return kDoubleQuote + name + kDoubleQuote;
}

QString QuotedOracleIdentifier(const QString& name, const QString& what, const QString& outcome,
                               const OracleCharacterSet& characterSet, qsizetype longestBytes) {
    QString quoted = QuotedIdentifier(name, what, outcome);
    if (const std::optional<char32_t> outside = characterSet.firstCharacterOutside(name)) {
        Refuse(name, what,
               characterSet.onlyAsciiKnown()
                   ? QStringLiteral("holds the character %1, and the database character set %2 "
                                    "maps some characters beyond ASCII in its own way, which this "
                                    "program cannot check: only names in ASCII are sent there")
                         .arg(DescribeCharacter(*outside), characterSet.name())
                   : QStringLiteral("holds the character %1, which the database character set "
                                    "%2 cannot hold")
                         .arg(DescribeCharacter(*outside), characterSet.name()),
               outcome);
    }
    const qsizetype bytes = characterSet.byteCount(name);
    if (bytes > longestBytes) {
        Refuse(name, what,
               QStringLiteral("is %1 bytes long in the database character set %2, and a name on "
                              "this Oracle server holds at most %3 bytes")
                   .arg(bytes)
                   .arg(characterSet.name())
                   .arg(longestBytes),
               outcome);
    }
    return quoted;
}

}  // namespace quorvex
