#include "transfer_fixture.h"

#include "transfer/send_tables.h"

#include <QDate>
#include <QRegularExpression>

namespace quorvex::test {

TransferTest::TransferTest() = default;

void TransferTest::SetUp() {
    ASSERT_TRUE(folder.isValid());
    login = TestServerLogin(folder.path());
    DropAllTables();
}

void TransferTest::WriteTable(const QString& fileName, const std::vector<pw::FieldDesign>& fields,
                              const std::vector<Row>& rows, int codePage) {
    pw::TableDesign design;
    design.fields = fields;
    design.codePage = codePage;
    pw::WriteTable(QFile::encodeName(folder.filePath(fileName)).toStdString(), design, rows);
}

void TransferTest::ShowParadoxTables(const QStringList& names, const QStringList& selected) {
    for (const QString& name : names) {
        paradoxList.AddItem(name);
    }
    int current = paradoxList.ListCount() > 0 ? 0 : -1;
    for (int i = 0; i < paradoxList.ListCount(); ++i) {
        if (selected.contains(paradoxList.List(i))) {
            paradoxList.SetSelected(i, true);
            current = i;
        }
    }
    paradoxList.SetListIndex(current);
}

void TransferTest::ShowOracleTables(const QStringList& names) {
    for (const QString& name : names) {
        oracleList.AddItem(name);
    }
}

void TransferTest::Send() {
    TablesScreen screen{oracleList, paradoxList, progress, pointer, dialogs, login};
    SendTablesToOracle(screen);
}

QStringList TransferTest::Entries(const TableList& list) {
    QStringList entries;
    for (int i = 0; i < list.ListCount(); ++i) {
        entries.append(list.List(i));
    }
    return entries;
}

std::vector<int> TransferTest::ReportedLines() const {
    static const QRegularExpression line(
        QStringLiteral("Form2\\.PushButton4_Click at line (\\d+)"));
    std::vector<int> lines;
    for (const ScriptedDialogs::Box& box : dialogs.Errors()) {
        const QRegularExpressionMatch match = line.match(box.text);
        lines.push_back(match.hasMatch() ? match.captured(1).toInt() : -1);
    }
    return lines;
}

pw::FieldDesign Alpha(const char* name, int length) {
    return {name, px::FieldType::Alpha, static_cast<std::uint8_t>(length)};
}

pw::FieldDesign Typed(const char* name, px::FieldType type, int size) {
    return {name, type, static_cast<std::uint8_t>(size)};
}

px::Value Text(const QString& text) { return px::Value::Text(text.toStdString()); }

px::Value Int(int value) { return px::Value::Integer(value); }

px::Value Number(double value) { return px::Value::Number(value); }

px::Value DateOf(int year, int month, int day) {
    // Day 1 is 0001-01-01; Julian day 1721426 is that day.
    return px::Value::Date(
        {static_cast<std::int32_t>(QDate(year, month, day).toJulianDay() - 1721425)});
}

px::Value TimeOf(int hour, int minute, int second) {
    return px::Value::Time({((hour * 60 + minute) * 60 + second) * 1000});
}

px::Value StampOf(int year, int month, int day, int hour, int minute, int second) {
    const std::int64_t dayNumber = QDate(year, month, day).toJulianDay() - 1721425;
    return px::Value::Stamp(
        {dayNumber * 86400000 + ((hour * 60 + minute) * 60 + second) * std::int64_t{1000}});
}

px::Value Raw(const QByteArray& bytes) {
    return px::Value::Raw(px::ByteVector(bytes.begin(), bytes.end()));
}

QStringList SentAfterSessionSetting(const StatementLog& log) {
    QStringList sent = log.Since();
    if (!sent.isEmpty()) {
        EXPECT_EQ(sent.first(), kDecimalPointSession) << "the session setting did not come first";
        sent.removeOne(kDecimalPointSession);
    }
    return sent;
}

QStringList StatementsStartingWith(const QStringList& statements, const QString& prefix) {
    QStringList matching;
    for (const QString& statement : statements) {
        if (statement.startsWith(prefix)) {
            matching.append(statement);
        }
    }
    return matching;
}

}  // namespace quorvex::test
