#include "support/oracle_statement_rules.h"

#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <optional>
#include <vector>

namespace quorvex::test {

namespace {

constexpr qsizetype kLongestLiteralBytes = 4000;
constexpr qsizetype kLongestRawBytes = 2000;
constexpr qsizetype kLongestOrdinaryTextBindUnits = 2000;  // 4,000 bytes of UTF-16
constexpr qsizetype kShownCharacters = 160;

// Reads a statement left to right, keeping to Oracle's lexical rules for literals, quoted
// identifiers and comments.
class StatementReader {
  public:
    StatementReader(const QString& statement, const OracleFormLimits& limits)
        : text_(statement), limits_(limits) {}

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

    // A character of `text` the database character set cannot hold, as a problem.
    QString OutsideTheCharacterSet(const QString& what, const QString& text) const {
        const std::optional<char32_t> outside = limits_.characterSet.firstCharacterOutside(text);
        return outside ? QStringLiteral(
                             "%1 holding the character %2, which the database "
                             "character set %3 cannot hold")
                             .arg(what, DescribeCharacter(*outside), limits_.characterSet.name())
                       : QString();
    }

    QString StringLiteral() {
        QString literal;
        for (++at_; at_ < text_.size(); ++at_) {
            if (text_[at_] == u'\'') {
                if (Next() != u'\'') {
                    ++at_;
                    const qsizetype bytes = limits_.characterSet.byteCount(literal);
                    if (bytes > kLongestLiteralBytes) {
                        return QStringLiteral("a string literal of %1 bytes (at most %2)")
                            .arg(bytes)
                            .arg(kLongestLiteralBytes);
                    }
                    return OutsideTheCharacterSet(QStringLiteral("a string literal"), literal);
                }
                ++at_;  // a doubled quote stands for one
            }
            literal += text_[at_];
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
        const QString name = text_.mid(at_ + 1, end - at_ - 1);
        at_ = end + 1;
        const QString outside = OutsideTheCharacterSet(QStringLiteral("a quoted identifier"), name);
        if (!outside.isEmpty()) return outside;
        const qsizetype bytes = limits_.characterSet.byteCount(name);
        return bytes > limits_.longestName
                   ? QStringLiteral("a quoted identifier of %1 bytes (at most %2)")
                         .arg(bytes)
                         .arg(limits_.longestName)
                   : QString();
    }

    const QString& text_;
    const OracleFormLimits& limits_;
    qsizetype at_ = 0;
};

// The parameter numbers the statement casts to bytea ("$2::bytea"), outside literals and names.
QSet<int> CastToBytea(const QString& statement) {
    static const QRegularExpression cast(QStringLiteral(R"(\$(\d+)::bytea)"));
    QSet<int> numbers;
    for (const QRegularExpressionMatch& match : cast.globalMatch(statement)) {
        numbers.insert(match.captured(1).toInt());
    }
    return numbers;
}

// The statement with the inside of every literal and quoted identifier blanked, each character
// where it was: what is left is the statement's own words.
QString Skeleton(const QString& statement) {
    QString skeleton = statement;
    QChar open;
    for (qsizetype i = 0; i < skeleton.size(); ++i) {
        const QChar c = skeleton[i];
        if (open.isNull()) {
            if (c == u'\'' || c == u'"') open = c;
        } else if (c == open) {
            open = QChar();
        } else {
            skeleton[i] = u' ';
        }
    }
    return skeleton;
}

// A number in a sized type outside its range, as a problem.
QString OutOfRange(const QString& type, int value, int lowest, int highest) {
    return value < lowest || value > highest ? QStringLiteral("%1 with %2 outside %3..%4")
                                                   .arg(type)
                                                   .arg(value)
                                                   .arg(lowest)
                                                   .arg(highest)
                                             : QString();
}

// The column types of a native CREATE TABLE, within the sizes Oracle takes (the test server
// takes larger ones).
QString SizedTypeProblem(const QString& skeleton) {
    static const QRegularExpression sized(
        QStringLiteral(
            R"(\b(NVARCHAR2|RAW|NUMBER|TIMESTAMP|SECOND)\s*\(\s*(-?\d+)\s*(?:,\s*(-?\d+)\s*)?\))"),
        QRegularExpression::CaseInsensitiveOption);
    for (const QRegularExpressionMatch& match : sized.globalMatch(skeleton)) {
        const QString type = match.captured(1).toUpper();
        const int size = match.captured(2).toInt();
        QString problem;
        if (type == QLatin1String("NVARCHAR2")) {
            problem = OutOfRange(type, size, 1, 2000);  // characters of AL16UTF16
        } else if (type == QLatin1String("RAW")) {
            problem = OutOfRange(type, size, 1, kLongestRawBytes);
        } else if (type == QLatin1String("NUMBER")) {
            problem = OutOfRange(QStringLiteral("NUMBER precision"), size, 1, 38);
            if (problem.isEmpty() && match.hasCaptured(3)) {
                problem =
                    OutOfRange(QStringLiteral("NUMBER scale"), match.captured(3).toInt(), -84, 127);
            }
        } else {
            problem = OutOfRange(type + QStringLiteral(" fraction"), size, 0, 9);
        }
        if (!problem.isEmpty()) return problem;
    }
    return {};
}

// The literals of a native copy's values, each in the one form no session setting reads
// otherwise: a double's text without a decimal or group sign (TO_BINARY_DOUBLE reads those by
// NLS_NUMERIC_CHARACTERS, which the test server ignores), whole hex bytes, ANSI days, timestamps
// and intervals.
QString NativeLiteralProblem(const QString& statement, const QString& skeleton) {
    struct Form {
        const char* opening;
        const char* content;
        const char* what;
    };
    static const Form forms[] = {
        {R"(TO_BINARY_DOUBLE\s*\(\s*$)", R"(-?\d+(E[+-]\d+)?|-?INF|NAN)",
         "TO_BINARY_DOUBLE of a text with a decimal or group sign, or not a number"},
        {R"(HEXTORAW\s*\(\s*$)", R"(([0-9A-F]{2}){1,2000})",
         "HEXTORAW of anything but 1 to 2,000 whole bytes in hex"},
        {R"(\bDATE\s*$)", R"(\d{4}-\d{2}-\d{2})", "a DATE literal not of the form YYYY-MM-DD"},
        {R"(\bTIMESTAMP\s*$)", R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}(\.\d{1,9})?)",
         "a TIMESTAMP literal not of the form YYYY-MM-DD HH:MM:SS.FFF"},
        {R"(\bINTERVAL\s*$)", R"(\d{1,2} \d{2}:\d{2}:\d{2}(\.\d{1,9})?)",
         "an INTERVAL literal not of the form D HH:MM:SS.FFF"},
    };
    struct Rule {
        QRegularExpression opening;
        QRegularExpression whole;
        QString what;
    };
    static const std::vector<Rule> rules = [] {
        std::vector<Rule> made;
        for (const Form& form : forms) {
            made.push_back(
                {QRegularExpression(QString::fromLatin1(form.opening),
                                    QRegularExpression::CaseInsensitiveOption),
                 QRegularExpression(QStringLiteral("^(%1)$").arg(QString::fromLatin1(form.content)),
                                    QRegularExpression::CaseInsensitiveOption),
                 QString::fromLatin1(form.what)});
        }
        return made;
    }();
    for (qsizetype open = skeleton.indexOf(u'\''); open >= 0;) {
        const qsizetype close = skeleton.indexOf(u'\'', open + 1);
        if (close < 0) break;
        // The words just before the literal decide its form.
        const QString before =
            skeleton.mid(std::max<qsizetype>(0, open - 40), std::min<qsizetype>(open, 40));
        const QString content = statement.mid(open + 1, close - open - 1);
        for (const Rule& rule : rules) {
            if (rule.opening.match(before).hasMatch() && !rule.whole.match(content).hasMatch()) {
                return rule.what;
            }
        }
        open = skeleton.indexOf(u'\'', close + 1);
    }
    return {};
}

}  // namespace

OracleFormLimits OracleFormLimitsFromEnvironment() {
    OracleFormLimits limits;
    bool isNumber = false;
    const int longestName = qEnvironmentVariableIntValue("QUORVEX_CHECK_NAME_LIMIT", &isNumber);
    if (isNumber && longestName > 0) limits.longestName = longestName;
    const QString characterSet = qEnvironmentVariable("QUORVEX_CHECK_CHARACTER_SET");
    if (!characterSet.isEmpty()) limits.characterSet = OracleCharacterSet(characterSet);
    return limits;
}

QString OracleFormProblem(const QString& statement, const OracleFormLimits& limits) {
    QString problem = StatementReader(statement, limits).FirstProblem();
    if (problem.isEmpty()) {
        const QString skeleton = Skeleton(statement);
        problem = SizedTypeProblem(skeleton);
        if (problem.isEmpty()) problem = NativeLiteralProblem(statement, skeleton);
    }
    return problem;
}

QString OracleBindProblem(const LoggedStatement& statement, bool textsGoToLobs) {
    const QSet<int> castToBytea = CastToBytea(statement.text);
    bool longBinary = false;
    bool longText = false;
    for (qsizetype i = 0; i < statement.boundValues.size(); ++i) {
        const QString& value = statement.boundValues[i];
        const int number = static_cast<int>(i) + 1;
        const bool bytes = castToBytea.contains(number) || LooksLikeLoggedBytes(value);
        const qsizetype byteCount = bytes ? (value.size() - 2) / 2 : 0;
        if (bytes && byteCount > kLongestRawBytes) {
            if (castToBytea.contains(number)) {
                return QStringLiteral(
                           "a byte value of %1 bytes bound as RAW ($%2::bytea, "
                           "SQL_VARBINARY), which holds %3 bytes")
                    .arg(byteCount)
                    .arg(number)
                    .arg(kLongestRawBytes);
            }
            longBinary = true;
            continue;
        }
        if (longBinary) {
            return QStringLiteral(
                       "the bound value $%1 after a byte value over %2 bytes, a LONG "
                       "RAW bind that must come last (ORA-24816)")
                .arg(number)
                .arg(kLongestRawBytes);
        }
        longText = longText || (!bytes && value.size() > kLongestOrdinaryTextBindUnits);
    }
    return longText && longBinary && !textsGoToLobs
               ? QStringLiteral(
                     "a bound text over 4,000 bytes with a bound byte value over "
                     "2,000 bytes (ORA-22295)")
               : QString();
}

OracleFormCheck CheckOracleForm(const QList<LogEntry>& entries, const OracleFormLimits& limits) {
    // The tables whose long texts go to NCLOB columns (a native copy's memos), by the CREATE
    // TABLE that made them.
    static const QRegularExpression nclobTable(
        QStringLiteral(R"(^CREATE TABLE ("[^"]+")\(.*\bNCLOB\b)"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression insertInto(QStringLiteral(R"(^INSERT INTO ("[^"]+"))"));
    QSet<QString> nclobTables;
    OracleFormCheck check;
    for (const LoggedStatement& statement : OdbcStatements(entries)) {
        ++check.statements;
        const QRegularExpressionMatch created = nclobTable.match(statement.text);
        if (created.hasMatch()) nclobTables.insert(created.captured(1));
        const QRegularExpressionMatch insert = insertInto.match(statement.text);
        QString problem = OracleFormProblem(statement.text, limits);
        if (problem.isEmpty()) {
            problem = OracleBindProblem(
                statement, insert.hasMatch() && nclobTables.contains(insert.captured(1)));
        }
        if (!problem.isEmpty()) {
            QString shown = statement.text.left(kShownCharacters);
            if (shown.size() < statement.text.size()) shown += QStringLiteral("...");
            check.violations.append(problem + QStringLiteral(": ") + shown);
        }
    }
    return check;
}

}  // namespace quorvex::test
