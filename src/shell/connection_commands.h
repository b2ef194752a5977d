#pragma once

#include "shell/connection_screen.h"

namespace quorvex {

// The commands of the connection screen's buttons. Each reports its own failures under its
// button's location label and goes on with its next step.

// PushButton1, "Test Connection" of the Oracle login: opens a connection of its own and says
// whether it worked.
void TestOracleConnection(ConnectionScreen& screen, Dialogs& dialogs);

// PushButton2, "Next >": when the folder holds tables and the login connects, refreshes and
// shows the tables screen and hides the connection screen; otherwise stays without a word.
void GoToTablesScreen(ConnectionScreen& screen, Dialogs& dialogs);

// PushButton3, "Test Connection" of the Paradox folder: whether the folder itself holds a table.
void TestParadoxFolder(ConnectionScreen& screen, Dialogs& dialogs);

// PushButton5, "...": puts the folder the user picks into the folder field; cancel changes
// nothing.
void BrowseParadoxFolder(ConnectionScreen& screen, Dialogs& dialogs);

// PushButton6, "Load Sample/Example Database": the program's own Samples folder.
void LoadSampleDatabase(ConnectionScreen& screen, Dialogs& dialogs);

inline const QString kConnectionSuccessful = QStringLiteral("Connection successful.");
inline const QString kOracleCouldNotConnect =
    QStringLiteral("Could not connect. Please check with your administrator.");
inline const QString kParadoxCouldNotConnect = QStringLiteral("Could not connect.");
inline const QString kBrowseTitle = QStringLiteral("Please select folder:");
inline const QString kSamplesFolder = QStringLiteral("/Samples");

}  // namespace quorvex
