#include "support/server_log.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

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
        if (!IsDriverHousekeeping(statement)) statements.append({entry.backend, statement, {}});
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
