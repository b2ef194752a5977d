#include "manage/command_support.h"

#include "data/failure.h"

namespace quorvex {

Connection& RequireConnection(const std::unique_ptr<Connection>& connection) {
    if (!connection) {
        throw Failure(QStringLiteral("Object variable not set"));
    }
    return *connection;
}

void ShowMessage(Dialogs& dialogs, const QString& text) {
    dialogs.MsgBox(text, vbOKOnly, QString());
}

QString AskNewName(Dialogs& dialogs, const QString& oldName) {
    return dialogs.InputBox(QStringLiteral("Enter new name of ") + oldName + QLatin1Char(':'),
                            QString(), oldName);
}

QString QuotedName(const QString& name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

}  // namespace quorvex
