#pragma once

#include "shell/ui.h"

#include <QString>

namespace quorvex {

// The example server address in the help's TNSNAMES.ORA entry (an address reserved for
// documentation).
inline const QString kHelpExampleHost = QStringLiteral("192.0.2.10");

// The two texts of the connection screen's "Help", in the order they are shown.
QString ConnectionHelpText();
QString ConnectionHelpLimitsText();

// PushButton4, "Help": shows both texts, the second after the first is closed.
void ShowConnectionHelp(Dialogs& dialogs);

}  // namespace quorvex
