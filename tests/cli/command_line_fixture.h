#pragma once

// The fixture of the tests that run the program's command line against the test server: a
// Paradox folder of the test's own, written with the table writer, and an empty schema.

#include "program_run.h"
#include "support/test_server.h"
#include "table_writer.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <vector>

namespace quorvex::test {

namespace px = quorvex::paradox;
namespace pw = quorvex::pxwriter;

class CommandLine : public ::testing::Test {
  protected:
    void SetUp() override { DropAllTables(); }

    // A table of an id and a memo, one row per text.
    void WriteMemoTable(const QString& name, const QStringList& memos) {
        std::vector<std::vector<px::Value>> rows;
        for (const QString& memo : memos) {
            rows.push_back({px::Value::Integer(static_cast<int>(rows.size()) + 1),
                            px::Value::Text(memo.toStdString())});
        }
        WriteTable(name, {{"Id", px::FieldType::Short, 0}, {"Memo", px::FieldType::Memo, 20}},
                   rows);
    }
    void WriteTable(const QString& name, const std::vector<pw::FieldDesign>& fields,
                    const std::vector<std::vector<px::Value>>& rows) {
        pw::TableDesign design;
        design.fields = fields;
        pw::WriteTable(QFile::encodeName(folder.filePath(name + ".DB")).toStdString(), design,
                       rows);
    }
    // The schema's tables but the ledger's.
    static QStringList Tables() {
        QStringList names;
        for (const QStringList& row : ServerQuery(
                 "SELECT table_name FROM user_tables WHERE table_name NOT LIKE 'QUORVEX$%'")) {
            names.append(row.value(0));
        }
        return names;
    }
    QStringList Login(const QString& paradoxFolder = QString(),
                      const QString& sid = QString()) const {
        return {"--folder", paradoxFolder.isEmpty() ? folder.path() : paradoxFolder,
                "--sid",    sid.isEmpty() ? TestServerSid() : sid,
                "--user",   "scott"};
    }
    ProgramRun Run(const QStringList& arguments, const QString& password = "tiger") const {
        return RunProgram(arguments, ProgramEnvironment(config.path(), password));
    }
    // A send running beside the test, once its rows reach the server's table.
    void StartSendUntilRowsArrive(QProcess& program, const QStringList& arguments,
                                  const QString& table) const {
        StartProgram(program, arguments + Login(), ProgramEnvironment(config.path(), "tiger"));
        ASSERT_TRUE(program.waitForStarted());
        QDeadlineTimer deadline(300000);
        while (!Tables().contains(table) || Count(table) == 0) {
            ASSERT_EQ(program.state(), QProcess::Running) << program.readAllStandardError().data();
            ASSERT_FALSE(deadline.hasExpired());
            QThread::msleep(20);
        }
    }
    static int Count(const QString& table) {
        return ServerQuery(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(table))
            .value(0)
            .value(0)
            .toInt();
    }

    // A JSON report the program wrote.
    static QJsonObject ReadJson(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return QJsonDocument::fromJson(file.readAll()).object();
    }

    QTemporaryDir folder;
    QTemporaryDir config;
};

}  // namespace quorvex::test
