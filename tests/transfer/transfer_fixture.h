#pragma once

#include "data/paradox/field.h"
#include "data/paradox/value.h"
#include "screens/table_list_widget.h"
#include "shell/tables_screen.h"
#include "support/recording_ui.h"
#include "support/scripted_dialogs.h"
#include "support/test_server.h"
#include "table_writer.h"

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace quorvex::test {

namespace px = quorvex::paradox;
namespace pw = quorvex::pxwriter;

using Row = std::vector<px::Value>;

// A Paradox folder of tables written for the test, the tables screen with the real list widgets,
// a recording progress bar and pointer, scripted dialogs, and the test server's login. Each test
// starts from an empty schema.
class TransferTest : public ::testing::Test {
  protected:
    TransferTest();
    void SetUp() override;

    // Writes <name>.DB (and its .MB when needed) into the Paradox folder, its texts in the given
    // code page.
    void WriteTable(const QString& fileName, const std::vector<pw::FieldDesign>& fields,
                    const std::vector<Row>& rows, int codePage = 1252);

    // Puts names into the Paradox list, selects `selected` and makes the last selected one (or
    // the first entry) current.
    void ShowParadoxTables(const QStringList& names, const QStringList& selected);
    void ShowOracleTables(const QStringList& names);

    // Runs "Send Table/s To Oracle" on the screen.
    void Send();

    static QStringList Entries(const TableList& list);
    // The lines the failure reports named, in order.
    std::vector<int> ReportedLines() const;

    QTemporaryDir folder;
    FixedFields login;
    TableListWidget oracleList;
    TableListWidget paradoxList;
    RecordingProgressBar progress;
    RecordingPointer pointer;
    ScriptedDialogs dialogs;
};

// Field designs, briefly.
pw::FieldDesign Alpha(const char* name, int length = 40);
pw::FieldDesign Typed(const char* name, px::FieldType type, int size = 0);

// Values, briefly.
px::Value Text(const QString& text);
px::Value Int(int value);
px::Value Number(double value);
px::Value DateOf(int year, int month, int day);
px::Value TimeOf(int hour, int minute, int second);
px::Value StampOf(int year, int month, int day, int hour, int minute, int second);
px::Value Raw(const QByteArray& bytes);

// The session setting every transfer sends right after it connects to Oracle.
inline const QString kDecimalPointSession =
    QStringLiteral("ALTER SESSION SET NLS_NUMERIC_CHARACTERS = '.,'");

// What a transfer sent since `log` began, after its session setting, which is checked to come
// first whenever anything was sent.
QStringList SentAfterSessionSetting(const StatementLog& log);

// The statements of the log that start with `prefix`.
QStringList StatementsStartingWith(const QStringList& statements, const QString& prefix);

}  // namespace quorvex::test
