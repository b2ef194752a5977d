#include "data/core/connection_string_parser.h"

namespace quorvex {

QList<ConnectionAttribute> ParseConnectionString(const QString& connectionString) {
    QList<ConnectionAttribute> attributes;
    const qsizetype length = connectionString.size();
    qsizetype position = 0;
    while (position < length) {
        const qsizetype equals = connectionString.indexOf(u'=', position);
        const qsizetype semicolon = connectionString.indexOf(u';', position);
        if (equals < 0 || (semicolon >= 0 && semicolon < equals)) {
            // A segment without "=": nothing to keep, go on after its ";".
            if (semicolon < 0) break;
            position = semicolon + 1;
            continue;
        }
        ConnectionAttribute attribute;
        attribute.key = connectionString.mid(position, equals - position);
        qsizetype valueStart = equals + 1;
        qsizetype next;
        if (valueStart < length && connectionString[valueStart] == u'{') {
            const qsizetype closing = connectionString.indexOf(u'}', valueStart + 1);
            if (closing < 0) {
                // An unclosed brace takes the rest of the string.
                attribute.value = connectionString.mid(valueStart + 1);
                next = length;
            } else {
                attribute.value = connectionString.mid(valueStart + 1, closing - valueStart - 1);
                const qsizetype after = connectionString.indexOf(u';', closing + 1);
                next = after < 0 ? length : after + 1;
            }
        } else {
            const qsizetype end = connectionString.indexOf(u';', valueStart);
            attribute.value =
                connectionString.mid(valueStart, (end < 0 ? length : end) - valueStart);
            next = end < 0 ? length : end + 1;
        }
        if (!attribute.key.isEmpty()) attributes.append(attribute);
        position = next;
    }
    return attributes;
}

QString ConnectionStringValue(const QString& connectionString, const QString& key) {
    for (const ConnectionAttribute& attribute : ParseConnectionString(connectionString)) {
        if (attribute.key.compare(key, Qt::CaseInsensitive) == 0) return attribute.value;
    }
    return QString();
}

}  // namespace quorvex
