#pragma once

#include "screens/form1.h"
#include "screens/form2.h"
#include "screens/table_list_widget.h"
#include "support/isolated_settings.h"
#include "support/scripted_dialogs.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace quorvex::test {

// The whole program as its user meets it, short of the boxes: the real connection screen
// (offscreen) with a settings store and a program folder of its own, the tables screen it opens,
// boxes answered by the test, and a folder for Paradox tables written by the test.
class ProgramTest : public ::testing::Test {
  protected:
    struct Report {
        QString label;
        int line = 0;
        QString description;
    };

    void SetUp() override;
    // The connection screen is destroyed, never closed: closing it would end the process.
    void TearDown() override;

    // Types the four connection fields (user scott).
    void EnterLogin(const QString& folder, const QString& sid,
                    const QString& password = QStringLiteral("tiger"));
    // "Next >": the tables screen when it opened, nullptr when the connection screen stayed.
    Form2* Next();

    // Clicks a push button of a window, as the mouse would.
    static void Click(QWidget& window, const char* button);
    // Selects the named entries (only those) and makes the last of them the current one.
    static void SelectEntries(TableList& list, const QStringList& names);
    static QStringList Entries(const TableList& list);

    // Writes <fileName> into `folder` (the test's table folder when empty): `rows` rows of an
    // ID, a NAME and an AMOUNT. Returns the file's path.
    QString WriteNumberedTable(const QString& fileName, int rows,
                               const QString& folder = QString()) const;
    // The same with an ID and NOTES, a memo whose values are long enough to live in the .MB
    // file beside the table.
    QString WriteMemoTable(const QString& fileName, int rows,
                           const QString& folder = QString()) const;
    // The rows of a Paradox table read back through the program's own Paradox driver, or -1
    // when it cannot be read.
    static long long ParadoxRowCount(const QString& folder, const QString& table);

    // The failure reports shown so far, each checked to be the one report's exact text.
    std::vector<Report> Reports() const;
    std::vector<Report> ReportsAtLine(int line) const;
    // The texts of the other boxes.
    QStringList PlainMessages() const;

    IsolatedSettings settings;
    QTemporaryDir programFolder;
    QTemporaryDir tables;
    ScriptedDialogs dialogs;
    std::unique_ptr<Form1> form1;
};

}  // namespace quorvex::test
