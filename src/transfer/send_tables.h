#pragma once

#include "shell/tables_screen.h"

namespace quorvex {

// "Send Table/s To Oracle": copies every selected Paradox table into Oracle (the command behind
// the tables screen's PushButton4). Reports its own failures under "Form2.PushButton4_Click".
void SendTablesToOracle(TablesScreen& screen);

// The question a table already in Oracle is met with before it is dropped: "Would you like to
// overwrite T?", under the title "Overwrite?".
QString OverwriteQuestion(const QString& table);
inline const QString kOverwriteTitle = QStringLiteral("Overwrite?");

}  // namespace quorvex
