#include "data/oracle/oracle_client_environment.h"

#include <QByteArray>
#include <QtGlobal>

namespace quorvex {

void PrepareOracleClientEnvironment() {
    // Language and territory only name messages and formats; the character set is what matters.
    if (qEnvironmentVariableIsEmpty("NLS_LANG")) {
        qputenv("NLS_LANG", QByteArrayLiteral("AMERICAN_AMERICA.AL32UTF8"));
    }
}

}  // namespace quorvex
