#include "data/quoted_identifier.h"

#include "data/failure.h"

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

QString QuotedOracleIdentifier(const QString& name, const QString& what, const QString& outcome) {
    QString quoted = QuotedIdentifier(name, what, outcome);
    const qsizetype bytes = name.toUtf8().size();
    if (bytes > kLongestOracleNameBytes) {
        Refuse(name, what,
               QStringLiteral("is %1 bytes long in UTF-8, and an Oracle name holds at most %2")
                   .arg(bytes)
                   .arg(kLongestOracleNameBytes),
               outcome);
    }
    return quoted;
}

}  // namespace quorvex
