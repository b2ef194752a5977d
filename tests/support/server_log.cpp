#include "support/server_log.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <optional>

namespace quorvex::test {

namespace {

const QString kDriverConnectStatement = QStringLiteral("SET DateStyle");

bool IsStatementLine(const LogEntry& entry) {
    return entry.level == u"LOG" && entry.text.startsWith(QStringLiteral("statement: "));
}

// "parameters: $1 = '...', $2 = NULL, ..." as values, quotes undoubled.
QStringList BoundValuesOf(const QString& detail) {
    static const QRegularExpression parameter(QStringLiteral(R"(\G(?:, )?\$\d+ = (NULL|'))"));
    QStringList values;
    qsizetype at = detail.indexOf(u' ') + 1;
    for (QRegularExpressionMatch match = parameter.match(detail, at); match.hasMatch();
         match = parameter.match(detail, at)) {
        at = match.capturedEnd();
        if (match.captured(1) == u"NULL") {
            values.append(QString());
            continue;
        }
        QString value;
        for (; at < detail.size(); ++at) {
            if (detail[at] == u'\'') {
                if (at + 1 >= detail.size() || detail[at + 1] != u'\'') break;
                ++at;
            }
            value += detail[at];
        }
        ++at;  // the closing quote
        values.append(value);
    }
    return values;
}

// psqlODBC opens a transaction, and guards each statement in one with a savepoint, by putting
// its own statements in front of the program's in the same text: "BEGIN;", "SAVEPOINT
// _EXEC_SVP_<n>;", "RELEASE _EXEC_SVP_<n>;". A query it reads a block at a time (its
// declare/fetch mode) goes as a cursor over the program's statement and the first block's fetch:
// 'declare "SQL_CUR<n>" cursor with hold for SELECT ...;fetch 1000 in "SQL_CUR<n>"'. Without
// them the text is the program's statement.
QString WithoutDriverPrefixes(QString statement) {
    static const QRegularExpression prefix(QStringLiteral(
        R"(^(?:(?:BEGIN|(?:SAVEPOINT|RELEASE) _EXEC_SVP_\w+);|declare "SQL_CUR\w+"(?: scroll)? cursor(?: with hold)? for ))"));
    static const QRegularExpression fetch(QStringLiteral(R"(;fetch \d+ in "SQL_CUR\w+"$)"));
    for (QRegularExpressionMatch match = prefix.match(statement); match.hasMatch();
         match = prefix.match(statement)) {
        statement.remove(0, match.capturedLength());
    }
    return statement.remove(fetch);
}

// The statements of a text, split at each ";" outside literals and quoted names.
QStringList SplitStatements(const QString& text) {
    QStringList parts;
    QChar quote;
    qsizetype start = 0;
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar c = text[at];
        if (!quote.isNull()) {
            if (c == quote) quote = QChar();  // a doubled quote closes and opens again
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u';') {
            parts.append(text.mid(start, at - start));
            start = at + 1;
        }
    }
    parts.append(text.mid(start));
    return parts;
}

// One row of an array of parameters as psqlODBC runs it: the INSERT with each "?" filled with a
// literal (a text in quotes, bytes as '\x...', NULL), a "?" in a conversion's first argument
// too (TO_NUMBER(?)). Given back as the statement with $1, $2...
// in place of the literals and the literals as its bound values, as the server logs a statement
// whose values are bound; nothing when the text is not such an INSERT.
std::optional<LoggedStatement> ArrayRow(const QString& backend, const QString& insert) {
    if (!insert.startsWith(QStringLiteral("INSERT INTO "))) return std::nullopt;
    qsizetype at = 0;
    for (QChar quote; at < insert.size(); ++at) {
        if (!quote.isNull()) {
            if (insert[at] == quote) quote = QChar();
        } else if (insert[at] == u'"') {
            quote = insert[at];
        } else if (QStringView(insert).mid(at).startsWith(u"VALUES(")) {
            break;
        }
    }
    at += 7;
    if (at > insert.size() || !insert.endsWith(u')')) return std::nullopt;
    LoggedStatement row{backend, insert.left(at), {}};
    const qsizetype end = insert.size() - 1;
    while (at < end) {
        // A marker inside a conversion, TO_DATE(?, 'YYYY-MM-DD'): the call stays statement text
        // around the value, which is its first argument.
        qsizetype name = at;
        while (name < end && (insert[name].isLetter() || insert[name] == u'_')) ++name;
        const bool call = name > at && insert[name] == u'(';
        if (call) {
            row.text += insert.mid(at, name + 1 - at);
            at = name + 1;
        }
        if (QStringView(insert).mid(at).startsWith(u"NULL")) {
            row.boundValues.append(QString());
            at += 4;
        } else if (insert[at] == u'\'') {
            QString value;
            for (++at; at < end && !(insert[at] == u'\'' && insert[at + 1] != u'\''); ++at) {
                if (insert[at] == u'\'') ++at;  // a doubled quote stands for one
                value += insert[at];
            }
            if (at >= end) return std::nullopt;
            ++at;
            row.boundValues.append(value);
        } else {
            return std::nullopt;
        }
        row.text += QStringLiteral("$%1").arg(row.boundValues.size());
        if (call) {
            for (QChar quote; at < end; ++at) {
                row.text += insert[at];
                if (!quote.isNull()) {
                    if (insert[at] == quote) quote = QChar();
                } else if (insert[at] == u'\'') {
                    quote = insert[at];
                } else if (insert[at] == u')') {
                    ++at;
                    break;
                }
            }
        }
        while (at < end && (insert[at] == u',' || insert[at] == u' ')) row.text += insert[at++];
    }
    row.text += u')';
    return row;
}

// A text psqlODBC made of an array of parameters: the program's INSERT once per row, each row
// with its values (ArrayRow). Nothing when the text is not one.
QList<LoggedStatement> ArrayRows(const QString& backend, const QString& text) {
    const QStringList parts = SplitStatements(text);
    QList<LoggedStatement> rows;
    if (parts.size() < 2) return rows;
    for (const QString& part : parts) {
        const std::optional<LoggedStatement> row = ArrayRow(backend, part);
        if (!row || (!rows.isEmpty() && row->text != rows.first().text)) return {};
        rows.append(*row);
    }
    return rows;
}

}  // namespace

QList<LogEntry> ReadServerLog(const QString& path, std::int64_t offset) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "Cannot read the server log " << path.toStdString();
        return {};
    }
    file.seek(offset);
    const QString text = QString::fromUtf8(file.readAll());
    static const QRegularExpression header(QStringLiteral(
        R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d(?:\.\d+)? \S+ \[(\d+)\] (?:\S*@\S* )?([A-Z]+):  (.*)$)"));
    QList<LogEntry> entries;
    for (const QStringView line : QStringView(text).split(u'\n')) {
        if (line.startsWith(u'\t')) {
            if (!entries.isEmpty()) {
                entries.last().text += u'\n';
                entries.last().text += line.mid(1);
            }
            continue;
        }
        const QRegularExpressionMatch match = header.match(line);
        if (match.hasMatch())
            entries.append({match.captured(1), match.captured(2), match.captured(3)});
    }
    return entries;
}

bool LooksLikeLoggedBytes(const QString& boundValue) {
    if (!boundValue.startsWith(QStringLiteral("\\x")) || boundValue.size() % 2 != 0) return false;
    for (qsizetype i = 2; i < boundValue.size(); ++i) {
        const char16_t c = boundValue[i].unicode();
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f'))) return false;
    }
    return true;
}

bool IsDriverHousekeeping(const QString& statement) {
    static const QStringList prefixes = {
        kDriverConnectStatement,
        QStringLiteral("SET extra_float_digits"),
        QStringLiteral("select oid, typbasetype from pg_type"),
        QStringLiteral("show "),
        QStringLiteral("DEALLOCATE "),
        QStringLiteral("SAVEPOINT _EXEC_SVP"),
        QStringLiteral("RELEASE _EXEC_SVP"),
        QStringLiteral("ROLLBACK TO _EXEC_SVP"),
        kLogMarkerPrefix,
    };
    // The transaction psqlODBC opens by itself once autocommit is off, and the next block and the
    // end of a query it reads a block at a time.
    static const QRegularExpression cursor(
        QStringLiteral(R"(^(?:fetch \d+ in|close) "SQL_CUR\w+"(?:;commit)?$)"));
    if (statement == QStringLiteral("BEGIN") || cursor.match(statement).hasMatch()) return true;
    for (const QString& prefix : prefixes) {
        if (statement.startsWith(prefix)) return true;
    }
    // Catalogue look-ups, written in lower case by the driver.
    return statement.startsWith(QStringLiteral("select ")) &&
           statement.contains(QStringLiteral("pg_catalog."));
}

QList<LoggedStatement> ExecutedStatements(const QList<LogEntry>& entries) {
    static const QRegularExpression executed(QStringLiteral(R"(^execute [^:]*: )"));
    QList<LoggedStatement> statements;
    QHash<QString, QString> lastLoggedByBackend;
    for (const LogEntry& entry : entries) {
        QString statement;
        if (IsStatementLine(entry)) {
            statement = entry.text.mid(11);
            lastLoggedByBackend[entry.backend] = statement;
        } else if (entry.level == u"LOG" && entry.text.contains(executed)) {
            statement = entry.text;
            statement.remove(executed);
            lastLoggedByBackend[entry.backend] = statement;
        } else if (entry.level == u"STATEMENT") {
            if (lastLoggedByBackend.value(entry.backend) == entry.text) continue;
            statement = entry.text;
        } else if (entry.level == u"DETAIL" &&
                   entry.text.startsWith(QStringLiteral("parameters: ")) && !statements.isEmpty() &&
                   statements.last().backend == entry.backend) {
            statements.last().boundValues = BoundValuesOf(entry.text);
            continue;
        } else {
            continue;
        }
        statement = WithoutDriverPrefixes(statement);
        const QList<LoggedStatement> rows = ArrayRows(entry.backend, statement);
        if (!rows.isEmpty()) {
            statements.append(rows);
        } else if (!IsDriverHousekeeping(statement)) {
            statements.append({entry.backend, statement, {}});
        }
    }
    return statements;
}

QList<LoggedStatement> OdbcStatements(const QList<LogEntry>& entries) {
    // A connection is the driver's from its connect statement until the server logs its end;
    // the process number may then serve another connection.
    static const QString disconnection = QStringLiteral("disconnection: ");
    QSet<QString> odbcBackends;
    QList<LogEntry> odbcEntries;
    for (const LogEntry& entry : entries) {
        if (IsStatementLine(entry) && entry.text.mid(11).startsWith(kDriverConnectStatement)) {
            odbcBackends.insert(entry.backend);
        } else if (entry.level == u"LOG" && entry.text.startsWith(disconnection)) {
            odbcBackends.remove(entry.backend);
        }
        if (odbcBackends.contains(entry.backend)) odbcEntries.append(entry);
    }
    return ExecutedStatements(odbcEntries);
}

}  // namespace quorvex::test
