#include "shell/connection_help.h"

#include "shell/command_steps.h"

namespace quorvex {

QString ConnectionHelpText() {
    const QString crlf = QStringLiteral("\r\n");
    QString text = QStringLiteral("This software works with Oracle 9i or higher.");
    text += QStringLiteral("\r\r");
    text += QStringLiteral(
        "The SID is used to identify a particular database. The SID is usually defined in the "
        "TNSNAMES.ORA file. The TNSNAMES.ORA file found in my Oracle 9i folder looks like:");
    text += crlf + crlf;
    text += QStringLiteral("KORV =") + crlf;
    text += QStringLiteral(" (DESCRIPTION =") + crlf;
    text += QStringLiteral("   (ADDRESS_LIST =") + crlf;
    text += QStringLiteral("     (ADDRESS = (PROTOCOL = TCP)(HOST = ") + kHelpExampleHost +
            QStringLiteral(")(PORT = 1521))") + crlf;
    text += QStringLiteral("   )") + crlf;
    text += QStringLiteral("   (CONNECT_DATA =") + crlf;
    text += QStringLiteral("     (SID = KORV)") + crlf;
    text += QStringLiteral("   )") + crlf;
    text += QStringLiteral(" )");
    text += crlf + crlf;
    text += QStringLiteral("Therefore, my SID would be KORV");
    return text;
}

QString ConnectionHelpLimitsText() {
    return QStringLiteral("This software does not support the CLOB and NLOB data type in Oracle.");
}

void ShowConnectionHelp(Dialogs& dialogs) {
    CommandSteps steps(dialogs, QStringLiteral("Form1.PushButton4_Click"));
    QString first;
    QString second;
    steps.Step(100, [&] { first = ConnectionHelpText(); });
    steps.Step(124, [&] { second = ConnectionHelpLimitsText(); });
    steps.Step(126, [&] { dialogs.MsgBox(first, vbOKOnly, QString()); });
    steps.Step(128, [&] { dialogs.MsgBox(second, vbOKOnly, QString()); });
}

}  // namespace quorvex
