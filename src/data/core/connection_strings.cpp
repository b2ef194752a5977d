#include "data/core/connection_strings.h"

namespace quorvex {

QString OracleConnectionString(const ConnectionFields& fields) {
    return QStringLiteral("Driver={Microsoft ODBC for Oracle};Server=") + fields.Text2() +
           QStringLiteral(";Uid=") + fields.Text3() + QStringLiteral(";Pwd=") + fields.Text4() +
           QStringLiteral(";");
}

QString ParadoxConnectionString(const ConnectionFields& fields) {
    return QStringLiteral(
               "Driver={Microsoft Paradox Driver (*.db )};DriverID=538;Fil=Paradox 5.X;"
               "DefaultDir=") +
           fields.Text1() + QStringLiteral(";Dbq=") + fields.Text1() +
           QStringLiteral(";CollatingSequence=ASCII;");
}

}  // namespace quorvex
