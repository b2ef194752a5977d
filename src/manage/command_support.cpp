#include "manage/command_support.h"

#include "data/core/failure.h"
#include "data/oracle/quoted_identifier.h"

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

QString QuotedName(const QString& name, const QString& outcome, const OracleDatabaseRules& rules) {
    return QuotedOracleIdentifier(name, QStringLiteral("table name"), outcome, rules.characterSet,
                                  rules.longestTableName);
}

OracleDatabaseRules ReadRulesQuietly(CommandSteps& steps,
                                     const std::unique_ptr<Connection>& connection) {
    OracleDatabaseRules rules;
    steps.Quietly([&] { ReadOracleDatabaseRules(RequireConnection(connection), rules); });
    return rules;
}

}  // namespace quorvex
