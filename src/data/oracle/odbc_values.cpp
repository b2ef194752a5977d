#include "data/oracle/odbc_values.h"

#include "data/core/ado_types.h"

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QMetaType>
#include <QTime>

namespace quorvex {
namespace {

int AdoTypeOfQtType(const QMetaType& type) {
    switch (type.id()) {
        case QMetaType::Bool:
            return adBoolean;
        case QMetaType::Short:
            return adSmallInt;
        case QMetaType::UShort:
            return adUnsignedSmallInt;
        case QMetaType::Int:
            return adInteger;
        case QMetaType::UInt:
            return adUnsignedInt;
        case QMetaType::LongLong:
            return adBigInt;
        case QMetaType::ULongLong:
            return adUnsignedBigInt;
        case QMetaType::Float:
            return adSingle;
        case QMetaType::Double:
            return adDouble;
        case QMetaType::QDate:
            return adDBDate;
        case QMetaType::QTime:
            return adDBTime;
        case QMetaType::QDateTime:
            return adDBTimeStamp;
        case QMetaType::QByteArray:
            return adVarBinary;
        default:
            return adVarWChar;
    }
}

Value NumberValue(const QVariant& value, int scale) {
    const QString text = value.toString().trimmed();
    if (scale <= 0) {
        bool isInteger = false;
        const qlonglong integer = text.toLongLong(&isInteger);
        if (isInteger) return Value::Integer(integer);
    }
    bool isNumber = false;
    const double number = text.toDouble(&isNumber);
    if (isNumber) return Value::Double(number);
    // Not a number after all (a driver quirk): keep what was delivered rather than invent one.
    return Value::Text(value.toString());
}

}  // namespace

int AdoTypeOfOdbcField(const QSqlField& field) {
    switch (field.typeID()) {
        case SQL_CHAR:
            return adChar;
        case SQL_VARCHAR:
            return adVarChar;
        case SQL_LONGVARCHAR:
            return adLongVarChar;
        case SQL_WCHAR:
            return adWChar;
        case SQL_WVARCHAR:
            return adVarWChar;
        case SQL_WLONGVARCHAR:
            return adLongVarWChar;
        case SQL_DECIMAL:
        case SQL_NUMERIC:
            return adNumeric;
        case SQL_BIT:
            return adBoolean;
        case SQL_TINYINT:
            return adTinyInt;
        case SQL_SMALLINT:
            return adSmallInt;
        case SQL_INTEGER:
            return adInteger;
        case SQL_BIGINT:
            return adBigInt;
        case SQL_REAL:
            return adSingle;
        case SQL_FLOAT:
        case SQL_DOUBLE:
            return adDouble;
        case SQL_DATE:
        case SQL_TYPE_DATE:
            return adDBDate;
        case SQL_TIME:
        case SQL_TYPE_TIME:
            return adDBTime;
        case SQL_TIMESTAMP:
        case SQL_TYPE_TIMESTAMP:
            return adDBTimeStamp;
        case SQL_BINARY:
            return adBinary;
        case SQL_VARBINARY:
            return adVarBinary;
        case SQL_LONGVARBINARY:
            return adLongVarBinary;
        case SQL_GUID:
            return adGUID;
        default:
            return AdoTypeOfQtType(field.metaType());
    }
}

Value OdbcValue(const QVariant& value, int adoType, int scale) {
    if (value.isNull()) return Value::Null();
    if (IsIntegerAdoType(adoType)) return NumberValue(value, 0);
    switch (adoType) {
        case adNumeric:
        case adDecimal:
            return NumberValue(value, scale);
        case adSingle:
        case adDouble:
            return NumberValue(value, 1);
        case adBoolean:
            return Value::Boolean(value.toBool());
        case adDBDate:
            return Value::Date(value.toDate());
        case adDBTime:
            return Value::Time(value.toTime());
        case adDBTimeStamp:
            return Value::DateTime(value.toDateTime());
        case adBinary:
        case adVarBinary:
        case adLongVarBinary:
            return Value::Bytes(value.toByteArray());
        default:
            return Value::Text(value.toString());
    }
}

QString OdbcErrorText(const QSqlError& error) {
    QString text = error.databaseText();
    if (text.trimmed().isEmpty()) text = error.driverText();
    return OdbcMessageText(std::move(text));
}

QString OdbcMessageText(QString text) {
    // Drivers end some messages with a line break; the report adds its own.
    while (!text.isEmpty() && text.back().isSpace()) text.chop(1);
    if (text.isEmpty())
        text = QStringLiteral("The ODBC driver reported a failure without a message.");
    return text;
}

}  // namespace quorvex
