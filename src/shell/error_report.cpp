#include "shell/error_report.h"

namespace quorvex {

QString ApplicationErrorText(const QString& label, int line, const QString& description) {
    return description + QStringLiteral("\r\n") + QStringLiteral("in Quorvex2/19/2015.") + label +
           QStringLiteral(" ") + QStringLiteral("at line ") + QString::number(line) +
           QStringLiteral("\r\r") + QStringLiteral("Please email screenshot of this message to ") +
           kSupportAddress;
}

void ReportApplicationError(Dialogs& dialogs, const QString& label, int line,
                            const QString& description) {
    dialogs.MsgBox(ApplicationErrorText(label, line, description), vbExclamation,
                   kApplicationErrorTitle);
}

}  // namespace quorvex
