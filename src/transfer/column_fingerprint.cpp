#include "transfer/column_fingerprint.h"

#include <QCryptographicHash>

namespace quorvex {

QString ColumnFingerprint(const std::vector<OracleColumn>& columns) {
    if (columns.empty()) {
        return QString();
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const OracleColumn& column : columns) {
        // Each value ends with a unit separator, each column with a record separator: no two
        // different columns give the same bytes.
        for (const QString& value :
             {column.name, column.dataType, QString::number(column.dataLength),
              QString::number(column.charLength), QString::number(column.precision),
              QString::number(column.scale), QString(column.nullable ? u'Y' : u'N')}) {
            hash.addData(value.toUtf8() + '\x1f');
        }
        hash.addData(QByteArrayView("\x1e"));
    }
    return QString::fromLatin1(hash.result().toHex());
}

QString ReadColumnFingerprint(Connection& oracle, const QString& table) {
    return ColumnFingerprint(ReadOracleColumns(oracle, table));
}

}  // namespace quorvex
