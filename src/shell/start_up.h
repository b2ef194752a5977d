#pragma once

#include "shell/connection_screen.h"

namespace quorvex {

// The start-up sequence of the connection screen ("Form1.Form_Load"): dress the window, restore
// the four fields, and move on to the tables screen by itself when the saved folder holds tables
// and the saved login connects. Every failing step is reported and the next one runs.
void RunStartUp(ConnectionScreen& screen, Dialogs& dialogs);

// The hand cursor's file, the skin file and the program's icon, relative to the program folder.
inline const QString kHandCursorFile = QStringLiteral("/HAND-M.CUR");
inline const QString kSkinFile = QStringLiteral("/x/o.cjs");
inline const QString kProgramIconFile = QStringLiteral("/quorvex.png");

}  // namespace quorvex
