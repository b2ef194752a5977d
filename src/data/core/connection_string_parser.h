#pragma once

#include <QList>
#include <QString>

namespace quorvex {

// One Key=value pair of an ODBC connection string, as written. A value in braces ({...}) is
// given without its braces.
struct ConnectionAttribute {
    QString key;
    QString value;
};

// Splits an ODBC connection string into its pairs, in order. Pairs are separated by ";"; a value
// that starts with "{" runs to the next "}", so it may hold ";". Segments without "=" are left
// out. Nothing is trimmed: values are taken as written.
QList<ConnectionAttribute> ParseConnectionString(const QString& connectionString);

// The value of the first pair whose key equals `key` ignoring case, as ODBC drivers read
// repeated keys; a null QString when there is none.
QString ConnectionStringValue(const QString& connectionString, const QString& key);

}  // namespace quorvex
