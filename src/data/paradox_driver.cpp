#include "data/paradox_driver.h"

#include "data/failure.h"

namespace quorvex {

// Stands in until the Paradox table reader is wired to the data access layer.
std::unique_ptr<DriverConnection> OpenParadoxDriver(const QString& /*folder*/) {
    throw Failure(QStringLiteral("The Paradox driver is not available."));
}

}  // namespace quorvex
