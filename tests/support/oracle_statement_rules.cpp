#include "support/oracle_statement_rules.h"

namespace quorvex::test {

namespace {

constexpr qsizetype kLongestLiteralBytes = 4000;
constexpr qsizetype kLongestNameBytes = 128;
constexpr qsizetype kShownCharacters = 160;

qsizetype Utf8Bytes(QChar c) {
    // Each half of a surrogate pair counts two: four bytes for the pair.
    return c.unicode() < 0x80 ? 1 : c.unicode() < 0x800 || c.isSurrogate() ? 2 : 3;
}

// Reads a statement left to right, keeping to Oracle's lexical rules for literals, quoted
// identifiers and comments.
class StatementReader {
  public:
    explicit StatementReader(const QString& statement) : text_(statement) {}

    QString FirstProblem() {
        while (at_ < text_.size()) {
            const QChar c = text_[at_];
            QString problem;
            if (c == u'\'') {
                problem = StringLiteral();
            } else if (c == u'"') {
                problem = QuotedIdentifier();
            } else if (c == u'-' && Next() == u'-') {
                Skip(QStringLiteral("\n"));
            } else if (c == u'/' && Next() == u'*') {
                Skip(QStringLiteral("*/"));
            } else if (c == u';') {
                problem = QStringLiteral(
                    "a \";\" outside literals and names (one statement per text, no closing "
                    "\";\")");
            } else {
                ++at_;
            }
            if (!problem.isEmpty()) return problem;
        }
        return {};
    }

  private:
    QChar Next() const { return at_ + 1 < text_.size() ? text_[at_ + 1] : QChar(); }

    void Skip(const QString& end) {
        const qsizetype found = text_.indexOf(end, at_ + 2);
        at_ = found < 0 ? text_.size() : found + end.size();
    }

    QString StringLiteral() {
        qsizetype bytes = 0;
        for (++at_; at_ < text_.size(); ++at_) {
            if (text_[at_] == u'\'') {
                if (Next() != u'\'') {
                    ++at_;
                    return bytes > kLongestLiteralBytes
                               ? QStringLiteral("a string literal of %1 bytes (at most %2)")
                                     .arg(bytes)
                                     .arg(kLongestLiteralBytes)
                               : QString();
                }
                ++at_;  // a doubled quote stands for one
            }
            bytes += Utf8Bytes(text_[at_]);
        }
        return QStringLiteral("a string literal that is never closed");
    }

    QString QuotedIdentifier() {
        const qsizetype end = text_.indexOf(u'"', at_ + 1);
        if (end < 0) {
            return QStringLiteral("a double quote that is never closed (a name holding one)");
        }
        if (end == at_ + 1 || (end + 1 < text_.size() && text_[end + 1] == u'"')) {
            return QStringLiteral("an empty quoted identifier or a name holding a double quote");
        }
        qsizetype bytes = 0;
        for (qsizetype i = at_ + 1; i < end; ++i) bytes += Utf8Bytes(text_[i]);
        at_ = end + 1;
        return bytes > kLongestNameBytes
                   ? QStringLiteral("a quoted identifier of %1 bytes (at most %2)")
                         .arg(bytes)
                         .arg(kLongestNameBytes)
                   : QString();
    }

    const QString& text_;
    qsizetype at_ = 0;
};

}  // namespace

QString OracleFormProblem(const QString& statement) {
    return StatementReader(statement).FirstProblem();
}

OracleFormCheck CheckOracleForm(const QList<LogEntry>& entries) {
    OracleFormCheck check;
    for (const LoggedStatement& statement : OdbcStatements(entries)) {
        ++check.statements;
        const QString problem = OracleFormProblem(statement.text);
        if (!problem.isEmpty()) {
            QString shown = statement.text.left(kShownCharacters);
            if (shown.size() < statement.text.size()) shown += QStringLiteral("...");
            check.violations.append(problem + QStringLiteral(": ") + shown);
        }
    }
    return check;
}

}  // namespace quorvex::test
