#include "shell/connection_commands.h"

#include "data/access/connection.h"
#include "data/core/connection_strings.h"
#include "data/core/failure.h"
#include "data/access/readiness.h"
#include "shell/command_steps.h"

#include <memory>

namespace quorvex {

void TestOracleConnection(ConnectionScreen& screen, Dialogs& dialogs) {
    CommandSteps steps(dialogs, QStringLiteral("Form1.PushButton1_Click"));
    std::unique_ptr<Connection> connection;
    steps.Step(100, [&] { connection = std::make_unique<Connection>(); });

    // From here on every failure means the login did not work: no report, one answer.
    bool failed = false;
    try {
        screen.Screen().SetMousePointer(vbHourglass);  // 102
        if (!connection) {
            throw Failure(QStringLiteral("No connection object"));
        }
        connection->Open(OracleConnectionString(screen));            // 104
        dialogs.MsgBox(kConnectionSuccessful, vbOKOnly, QString());  // 106
        screen.Screen().SetMousePointer(vbDefault);                  // 108
    } catch (const std::exception&) {
        failed = true;
    }
    if (failed) {  // 110
        steps.Step(112, [&] { dialogs.MsgBox(kOracleCouldNotConnect, vbOKOnly, QString()); });
        steps.Step(114, [&] { screen.Screen().SetMousePointer(vbDefault); });
    }
    connection.reset();  // the connection lives only as long as the command
}

void GoToTablesScreen(ConnectionScreen& screen, Dialogs& dialogs) {
    CommandSteps steps(dialogs, QStringLiteral("Form1.PushButton2_Click"));
    steps.Step(100, [&] { screen.Screen().SetMousePointer(vbHourglass); });
    if (steps.Test(102, [&] { return ParadoxFolderHasTables(screen); })) {
        if (steps.Test(104, [&] { return CanConnectToOracle(screen); })) {
            steps.Step(106, [&] { screen.RefreshTablesScreen(); });
            steps.Step(108, [&] { screen.ShowTablesScreen(); });
            steps.Step(110, [&] { screen.HideConnectionScreen(); });
        }
    }
    steps.Step(112, [&] { screen.Screen().SetMousePointer(vbDefault); });
}

void TestParadoxFolder(ConnectionScreen& screen, Dialogs& dialogs) {
    CommandSteps steps(dialogs, QStringLiteral("Form1.PushButton3_Click"));
    steps.Step(102, [&] { screen.Screen().SetMousePointer(vbHourglass); });
    // A folder test that fails is reported and then counts as a failed test: the answer must
    // never claim a connection that was not shown to work.
    bool hasTables = false;
    steps.Step(104, [&] { hasTables = ParadoxFolderHasTables(screen); });
    if (hasTables) {
        steps.Step(106, [&] { dialogs.MsgBox(kConnectionSuccessful, vbOKOnly, QString()); });
    } else {
        steps.Step(108, [&] { dialogs.MsgBox(kParadoxCouldNotConnect, vbOKOnly, QString()); });
    }
    steps.Step(110, [&] { screen.Screen().SetMousePointer(vbDefault); });
}

void BrowseParadoxFolder(ConnectionScreen& screen, Dialogs& dialogs) {
    CommandSteps steps(dialogs, QStringLiteral("Form1.PushButton5_Click"));
    QString folder;
    steps.Step(100, [&] { folder = dialogs.BrowseForFolder(kBrowseTitle); });
    if (folder.isEmpty()) {  // 102
        return;
    }
    steps.Step(104, [&] { screen.SetText1(folder); });
}

void LoadSampleDatabase(ConnectionScreen& screen, Dialogs& dialogs) {
    CommandSteps steps(dialogs, QStringLiteral("Form1.PushButton6_Click"));
    steps.Step(100, [&] { screen.SetText1(screen.ProgramFolder() + kSamplesFolder); });
}

}  // namespace quorvex
