// Real Paradox tables, written by Paradox itself, copied to the test server: every row must go
// out as one INSERT whose literals are the table's values as the conformance data gives them.

#include "transfer/value_text.h"
#include "transfer_fixture.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <optional>

namespace quorvex::test {
namespace {

const QString kCorpus = QStringLiteral(QUORVEX_CORPUS_DIR);

// One literal of a VALUES list: nullopt for NULL, else the text with its quotes undoubled.
using Literal = std::optional<QString>;

// Splits "INSERT INTO "<table>" VALUES(<literals>)" into its literals; empty on a malformed text.
// A bound value (the server logs its marker as $n, its bytes as "\x" and hex) stands in as the
// literal it replaces: a text as it is, bytes as upper-case hex; nullopt when the server refused
// the row before it ran, and so never logged the value.
using Sent = std::optional<Literal>;
std::optional<std::vector<Sent>> ParseInsert(const LoggedStatement& insert, const QString& table) {
    static const QRegularExpression marker(QStringLiteral(R"(\G\$(\d+)(::bytea)?)"));
    const QString& statement = insert.text;
    const QString head = QStringLiteral("INSERT INTO \"%1\" VALUES(").arg(table);
    if (!statement.startsWith(head) || !statement.endsWith(u')')) {
        return std::nullopt;
    }
    std::vector<Sent> literals;
    qsizetype at = head.size();
    const qsizetype end = statement.size() - 1;
    while (at < end) {
        const QRegularExpressionMatch bound = marker.match(statement, at);
        if (bound.hasMatch()) {
            const qsizetype number = bound.captured(1).toInt() - 1;
            if (number >= insert.boundValues.size()) {
                literals.emplace_back(std::nullopt);
            } else {
                const QString& value = insert.boundValues[number];
                literals.emplace_back(bound.capturedLength(2) > 0 || LooksLikeLoggedBytes(value)
                                          ? value.mid(2).toUpper()
                                          : value);
            }
            at = bound.capturedEnd();
        } else if (statement.mid(at, 4) == QStringLiteral("NULL")) {
            literals.emplace_back(Literal());
            at += 4;
        } else if (statement[at] == u'\'') {
            QString text;
            ++at;
            for (;;) {
                if (at >= end) {
                    return std::nullopt;
                }
                if (statement[at] == u'\'') {
                    if (at + 1 < end && statement[at + 1] == u'\'') {
                        text += u'\'';
                        at += 2;
                        continue;
                    }
                    ++at;
                    break;
                }
                text += statement[at++];
            }
            literals.emplace_back(text);
        } else {
            return std::nullopt;
        }
        if (at < end) {
            if (statement.mid(at, 2) != QStringLiteral(", ")) {
                return std::nullopt;
            }
            at += 2;
        }
    }
    return literals;
}

QString FromIsoDate(const QString& iso) {
    return DateText(QDate::fromString(iso.left(10), Qt::ISODate));
}

QString FromIsoTime(const QString& iso) {
    return TimeText(QTime::fromString(iso, QStringLiteral("HH:mm:ss.zzz")));
}

// Compares a sent literal with the conformance data's value of a field of the given type;
// returns a description of the difference, or an empty text.
QString Difference(const Literal& sent, const QJsonValue& expected, const QString& type) {
    auto describe = [&](const QString& want) {
        return QStringLiteral("sent %1, expected %2")
            .arg(sent ? QStringLiteral("'%1'").arg(sent->left(80)) : QStringLiteral("NULL"),
                 want.left(80));
    };
    if (expected.isNull()) {
        return sent ? describe(QStringLiteral("NULL")) : QString();
    }
    if (!sent) {
        return describe(expected.toVariant().toString());
    }
    QString want;
    if (type == QLatin1String("ALPHA") || type == QLatin1String("MEMO")) {
        want = expected.toString();
    } else if (type == QLatin1String("SHORT") || type == QLatin1String("LONG") ||
               type == QLatin1String("AUTOINC")) {
        want = QString::number(expected.toInteger());
    } else if (type == QLatin1String("NUMBER") || type == QLatin1String("MONEY") ||
               type == QLatin1String("BCD")) {
        want = DoubleText(expected.toString().toDouble());
    } else if (type == QLatin1String("LOGICAL")) {
        want = expected.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    } else if (type == QLatin1String("DATE")) {
        want = FromIsoDate(expected.toString());
    } else if (type == QLatin1String("TIME")) {
        want = FromIsoTime(expected.toString());
    } else if (type == QLatin1String("TIMESTAMP")) {
        const QString iso = expected.toString();
        const QString time = iso.mid(11);
        want = FromIsoDate(iso);
        if (time.left(8) != QLatin1String("00:00:00")) {
            want += u' ' + FromIsoTime(time);
        }
    } else if (type == QLatin1String("FMTMEMO")) {
        // The raw bytes go out as hex; the conformance data holds them decoded as text, which
        // is the same bytes where every character is ASCII.
        const QString text = expected.toString();
        const QByteArray bytes = QByteArray::fromHex(sent->toLatin1());
        bool ascii = true;
        for (QChar c : text) {
            ascii = ascii && c.unicode() < 0x80;
        }
        if (ascii ? bytes != text.toLatin1() : bytes.isEmpty()) {
            return describe(QStringLiteral("the bytes of ") + text.left(40));
        }
        return QString();
    } else {  // BYTES, BLOB, OLE, GRAPHIC: upper-case hex of the bytes
        const QJsonObject object = expected.toObject();
        if (*sent != sent->toUpper()) {
            return describe(QStringLiteral("upper-case hex"));
        }
        const QByteArray bytes = QByteArray::fromHex(sent->toLatin1());
        if (object.contains(QLatin1String("hex"))) {
            want = object.value(QLatin1String("hex")).toString().toUpper();
        } else {
            const QByteArray sha = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
            if (bytes.size() != object.value(QLatin1String("len")).toInteger() ||
                sha.toHex() != object.value(QLatin1String("sha256")).toString().toLatin1()) {
                return describe(QStringLiteral("%1 bytes with sha256 %2")
                                    .arg(object.value(QLatin1String("len")).toInteger())
                                    .arg(object.value(QLatin1String("sha256")).toString()));
            }
            return QString();
        }
    }
    return *sent == want ? QString() : describe(want);
}

struct ExpectedTable {
    QString file;  // the table file's name in its folder
    QJsonObject data;
};

std::vector<ExpectedTable> ExpectedTables(const QString& folder) {
    std::vector<ExpectedTable> tables;
    const QDir expected(kCorpus + QStringLiteral("/expected/") + folder);
    for (const QString& name : expected.entryList({QStringLiteral("*.json")}, QDir::Files)) {
        QFile file(expected.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            continue;
        }
        const QJsonObject data = QJsonDocument::fromJson(file.readAll()).object();
        if (data.value(QLatin1String("error")).isNull()) {
            tables.push_back({name.chopped(5), data});
        }
    }
    return tables;
}

class CorpusTransfer : public TransferTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(CorpusTransfer, EveryRowGoesOutWithTheTablesValues) {
    const QString corpusFolder = QString::fromLatin1(GetParam());
    ASSERT_TRUE(QDir(kCorpus).exists())
        << "The Paradox corpus is missing: " << kCorpus.toStdString();
    const std::vector<ExpectedTable> tables = ExpectedTables(corpusFolder);
    ASSERT_FALSE(tables.empty());
    QStringList names;
    for (const ExpectedTable& table : tables) {
        // As the Paradox list shows them: upper case, without the extension.
        names.append(QFileInfo(table.file).completeBaseName().toUpper());
    }
    login.folder = kCorpus + u'/' + corpusFolder;
    ShowParadoxTables(names, names);

    const StatementLog log;
    Send();
    const QStringList sent = SentAfterSessionSetting(log);
    const QList<LoggedStatement> logged = log.SinceWithBoundValues();

    // Only rows the server refuses (texts longer than a column holds) may be reported.
    for (const int line : ReportedLines()) {
        EXPECT_EQ(line, 244);
    }
    for (std::size_t t = 0; t < tables.size(); ++t) {
        const QString name = names[static_cast<int>(t)];
        const QJsonObject& data = tables[t].data;
        SCOPED_TRACE(name.toStdString());
        const QJsonArray fields = data.value(QLatin1String("fields")).toArray();
        const QJsonArray rows = data.value(QLatin1String("rows")).toArray();

        EXPECT_EQ(
            StatementsStartingWith(sent, QStringLiteral("CREATE TABLE \"%1\"(").arg(name)).size(),
            1);
        QList<LoggedStatement> inserts;
        for (const LoggedStatement& statement : logged) {
            if (statement.text.startsWith(QStringLiteral("INSERT INTO \"%1\" ").arg(name))) {
                inserts.append(statement);
            }
        }
        ASSERT_EQ(inserts.size(), rows.size());
        for (int r = 0; r < rows.size(); ++r) {
            const std::optional<std::vector<Sent>> literals = ParseInsert(inserts[r], name);
            ASSERT_TRUE(literals.has_value()) << inserts[r].text.left(200).toStdString();
            const QJsonArray row = rows[r].toArray();
            ASSERT_EQ(static_cast<int>(literals->size()), fields.size());
            for (int f = 0; f < fields.size(); ++f) {
                const Sent& sentValue = (*literals)[static_cast<std::size_t>(f)];
                if (!sentValue) {
                    continue;  // in a refused row: reported, and its bound value never logged
                }
                const QString type = fields[f].toObject().value(QLatin1String("type")).toString();
                const QString difference = Difference(*sentValue, row[f], type);
                EXPECT_TRUE(difference.isEmpty())
                    << "row " << r + 1 << ", field "
                    << fields[f].toObject().value(QLatin1String("name")).toString().toStdString()
                    << ": " << difference.toStdString();
            }
        }
    }
    EXPECT_EQ(Entries(oracleList).size(), names.size());
}

INSTANTIATE_TEST_SUITE_P(Folders, CorpusTransfer, ::testing::Values("fields", "db", "encrypt"));

}  // namespace
}  // namespace quorvex::test
