#include "transfer/native_column.h"

namespace quorvex {

namespace {

// Paradox's BCD holds 32 digits (16 bytes of nibbles after the sign and exponent byte).
constexpr int kBcdPrecision = 32;

NativeColumn Sized(NativeKind kind, const char* type, int size) {
    return {kind, QStringLiteral("%1(%2)").arg(QLatin1String(type)).arg(size), 0};
}

NativeColumn Plain(NativeKind kind, const char* word) {
    return {kind, QString::fromLatin1(word), 0};
}

}  // namespace

NativeColumn NativeColumnFor(paradox::FieldType type, int size) {
    using paradox::FieldType;
    switch (type) {
        case FieldType::Alpha:
            return Sized(NativeKind::Text, "NVARCHAR2", size);
        case FieldType::Memo:
            return Plain(NativeKind::LongText, "NCLOB");
        case FieldType::FormattedMemo:
        case FieldType::Blob:
        case FieldType::Ole:
        case FieldType::Graphic:
            return Plain(NativeKind::Bytes, "BLOB");
        case FieldType::Bytes:
            return Sized(NativeKind::Raw, "RAW", size);
        case FieldType::Short:
            return Plain(NativeKind::Integer, "NUMBER(5)");
        case FieldType::Long:
        case FieldType::AutoIncrement:
            return Plain(NativeKind::Integer, "NUMBER(10)");
        case FieldType::Number:
        case FieldType::Money:
            return Plain(NativeKind::Double, "BINARY_DOUBLE");
        case FieldType::Bcd:
            // NUMBER(32,0) is NUMBER(32), and Oracle's dictionary names it so.
            return {NativeKind::Decimal,
                    size == 0 ? QStringLiteral("NUMBER(%1)").arg(kBcdPrecision)
                              : QStringLiteral("NUMBER(%1,%2)").arg(kBcdPrecision).arg(size),
                    size};
        case FieldType::Logical:
            return Plain(NativeKind::Logical, "NUMBER(1)");
        case FieldType::Date:
            return Plain(NativeKind::Date, "DATE");
        case FieldType::Time:
            return Plain(NativeKind::Time, "INTERVAL DAY TO SECOND(3)");
        case FieldType::Timestamp:
            return Plain(NativeKind::Timestamp, "TIMESTAMP(3)");
    }
    return Plain(NativeKind::Text, "NVARCHAR2(2000)");
}

bool IsLobKind(NativeKind kind) {
    return kind == NativeKind::LongText || kind == NativeKind::Bytes;
}

}  // namespace quorvex
