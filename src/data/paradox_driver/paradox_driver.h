#pragma once

#include "data/core/record_source.h"

#include <QString>

#include <memory>

namespace quorvex {

// The driver name in the connection string that selects our own reader of Paradox table files.
inline const QString kParadoxDriverName = QStringLiteral("Microsoft Paradox Driver (*.db )");

// Opens the Paradox driver on a folder (the DefaultDir/Dbq value of the connection string).
// The connection serves SELECT * FROM "<name>" from the table file of that name in the folder,
// matched ignoring case; any other statement fails with a clear message.
std::unique_ptr<DriverConnection> OpenParadoxDriver(const QString& folder);

}  // namespace quorvex
