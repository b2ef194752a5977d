#pragma once

#include "shell/ui.h"

#include <QString>

namespace quorvex {

// The support address that ends every failure report.
inline const QString kSupportAddress = QStringLiteral("support@quorvex.example.com");

// The title of the failure report's box, by which a front end tells it from other messages.
inline const QString kApplicationErrorTitle = QStringLiteral("Application Error");

// The text of the one failure report: the description, CR LF, where it happened, the line, and
// the request to send a screenshot.
QString ApplicationErrorText(const QString& label, int line, const QString& description);

// Shows the failure report ("Application Error", warning icon, OK) and returns when it is closed.
void ReportApplicationError(Dialogs& dialogs, const QString& label, int line,
                            const QString& description);

}  // namespace quorvex
