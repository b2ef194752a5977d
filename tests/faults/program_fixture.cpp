#include "program_fixture.h"

#include "data/access/connection.h"
#include "data/core/connection_strings.h"
#include "data/core/failure.h"
#include "data/paradox/value.h"
#include "shell/error_report.h"
#include "support/recording_ui.h"
#include "table_writer.h"

#include <QPushButton>
#include <QRegularExpression>

namespace quorvex::test {

namespace px = quorvex::paradox;
namespace pw = quorvex::pxwriter;

void ProgramTest::SetUp() {
    ASSERT_TRUE(programFolder.isValid());
    ASSERT_TRUE(tables.isValid());
    form1 = std::make_unique<Form1>(dialogs, programFolder.path());
    form1->show();
}

void ProgramTest::TearDown() { form1.reset(); }

void ProgramTest::EnterLogin(const QString& folder, const QString& sid, const QString& password) {
    form1->SetText1(folder);
    form1->SetText2(sid);
    form1->SetText3(QStringLiteral("scott"));
    form1->SetText4(password);
}

Form2* ProgramTest::Next() {
    Click(*form1, "PushButton2");
    Form2* form2 = form1->TablesScreenIfCreated();
    return form2 != nullptr && form2->isVisible() ? form2 : nullptr;
}

void ProgramTest::Click(QWidget& window, const char* button) {
    auto* control = window.findChild<QPushButton*>(QString::fromLatin1(button));
    ASSERT_NE(control, nullptr) << button;
    control->click();
}

void ProgramTest::SelectEntries(TableList& list, const QStringList& names) {
    for (int i = 0; i < list.ListCount(); ++i) {
        list.SetSelected(i, false);
    }
    for (const QString& name : names) {
        bool found = false;
        for (int i = 0; i < list.ListCount() && !found; ++i) {
            if (list.List(i) == name) {
                list.SetSelected(i, true);
                list.SetListIndex(i);
                found = true;
            }
        }
        EXPECT_TRUE(found) << name.toStdString() << " is not listed";
    }
}

QStringList ProgramTest::Entries(const TableList& list) {
    QStringList names;
    for (int i = 0; i < list.ListCount(); ++i) {
        names.append(list.List(i));
    }
    return names;
}

QString ProgramTest::WriteNumberedTable(const QString& fileName, int rows,
                                        const QString& folder) const {
    const QString path = (folder.isEmpty() ? tables.path() : folder) + u'/' + fileName;
    pw::TableDesign design;
    design.fields = {{"ID", px::FieldType::Long, 0},
                     {"NAME", px::FieldType::Alpha, 24},
                     {"AMOUNT", px::FieldType::Number, 0}};
    pw::TableWriter writer(path.toStdString(), design);
    for (int row = 1; row <= rows; ++row) {
        writer.addRow(
            {px::Value::Integer(row),
             px::Value::Text("Row " + std::to_string(row) + " of " + fileName.toStdString()),
             px::Value::Number(row * 0.25)});
    }
    writer.finish();
    return path;
}

QString ProgramTest::WriteMemoTable(const QString& fileName, int rows,
                                    const QString& folder) const {
    const QString path = (folder.isEmpty() ? tables.path() : folder) + u'/' + fileName;
    pw::TableDesign design;
    design.fields = {{"ID", px::FieldType::Long, 0}, {"NOTES", px::FieldType::Memo, 20}};
    pw::TableWriter writer(path.toStdString(), design);
    for (int row = 1; row <= rows; ++row) {
        writer.addRow(
            {px::Value::Integer(row), px::Value::Text("Notes " + std::to_string(row) + ": " +
                                                      std::string(200, '*') + " (end)")});
    }
    writer.finish();
    return path;
}

long long ProgramTest::ParadoxRowCount(const QString& folder, const QString& table) {
    FixedFields fields;
    fields.folder = folder;
    try {
        Connection connection;
        connection.SetCursorLocation(adUseClient);
        connection.Open(ParadoxConnectionString(fields));
        Recordset rows;
        rows.Open(QStringLiteral("SELECT * FROM \"%1\"").arg(table), connection);
        long long read = 0;
        for (long long i = 0; i < rows.RecordCount(); ++i) {
            for (int field = 0; field < rows.FieldCount(); ++field) {
                rows.FieldValue(field);  // every value must decode, memo values included
            }
            rows.MoveNext();
            ++read;
        }
        return read;
    } catch (const Failure&) {
        return -1;
    }
}

std::vector<ProgramTest::Report> ProgramTest::Reports() const {
    static const QRegularExpression shape(
        QStringLiteral(R"(^(.*)\r\nin Quorvex2/19/2015\.(\S+) at line (\d+)\r\r)"),
        QRegularExpression::DotMatchesEverythingOption);
    std::vector<Report> reports;
    for (const ScriptedDialogs::Box& box : dialogs.Errors()) {
        const QRegularExpressionMatch match = shape.match(box.text);
        EXPECT_TRUE(match.hasMatch()) << box.text.toStdString();
        if (!match.hasMatch()) {
            continue;
        }
        Report report{match.captured(2), match.captured(3).toInt(), match.captured(1)};
        EXPECT_EQ(box.text, ApplicationErrorText(report.label, report.line, report.description));
        reports.push_back(report);
    }
    return reports;
}

std::vector<ProgramTest::Report> ProgramTest::ReportsAtLine(int line) const {
    std::vector<Report> found;
    for (const Report& report : Reports()) {
        if (report.line == line) {
            found.push_back(report);
        }
    }
    return found;
}

QStringList ProgramTest::PlainMessages() const {
    QStringList texts;
    for (const ScriptedDialogs::Box& box : dialogs.boxes) {
        if (box.title != QStringLiteral("Application Error")) {
            texts.append(box.text);
        }
    }
    return texts;
}

}  // namespace quorvex::test
